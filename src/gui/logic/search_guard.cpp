#include "gui/logic/search_guard.h"

#include "control/search_controller.h"
#include "gui/logic/desktop.h"
#include "search/search_info.h"

namespace corvid {

void runGuarded(WindowState& state, SearchUse use, const std::function<void()>& action) {
    if (use == SearchUse::Leaves) {
        action();
        return;
    }
    const bool engineThinking = engineBusy();
    stopSearch();
    action();
    if (state.setupMode) return;
    if (state.boardMode == AnalysisMode) {
        // The position or the settings may have changed: the analysis starts again.
        requestAnalysis();
    } else if (use == SearchUse::Pauses && engineThinking &&
               searchInfo.gameResult.load() == GameRunning) {
        requestThink();
    }
}

} // namespace corvid
