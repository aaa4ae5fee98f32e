#include "gui/logic/panel_commands.h"

#include "control/game.h"
#include "control/search_controller.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/desktop.h"
#include "search/search_info.h"

#include <algorithm>

namespace corvid {

void retractMove(WindowState& state) {
    stopSearch();
    showGame(state, takeGameSnapshot());
    const int human = searchInfo.humanSide.load();
    // With the person to move, the last move was the engine's: the person's own goes too.
    const bool engineMovedLast =
        (human == HumanWhite || human == HumanBlack) && state.game.sideToMove == human;
    const int target = state.game.ply - (engineMovedLast ? 2 : 1);
    goToPly(state, std::max(target, state.game.startPly));
}

void engineMovesNow(WindowState& state) {
    stopSearch();
    showGame(state, takeGameSnapshot());
    if (searchInfo.humanSide.load() == EnginePlaysBoth) {
        requestThink();
        return;
    }
    setHumanSide(state, state.game.sideToMove == White ? HumanBlack : HumanWhite);
}

bool changeAnalysisLines(const WindowState& state, int delta) {
    const bool analysing = state.boardMode == AnalysisMode;
    if (!analysing && !searchController.idle()) return false;
    const int lines = searchInfo.analysisLines.load();
    const int changed = std::clamp(lines + delta, 1, analysispane::MaxLines);
    if (changed == lines) return false;
    searchInfo.analysisLines.store(changed);
    if (analysing) requestAnalysis();
    return true;
}

std::string analysisLinesText() { return std::to_string(searchInfo.analysisLines.load()); }

void registerPanelCommands(CommandDispatcher& dispatcher, WindowState& state) {
    dispatcher.on(cmd::Retract, [&state](int) { retractMove(state); });
    dispatcher.on(cmd::EngineMoveNow, [&state](int) { engineMovesNow(state); });
}

} // namespace corvid
