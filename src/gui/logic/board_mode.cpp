#include "gui/logic/board_mode.h"

#include "control/search_controller.h"
#include "search/search_info.h"

namespace corvid {

void leaveBoardMode(WindowState& state) {
    if (state.humanSideBeforeMode >= 0) searchInfo.humanSide.store(state.humanSideBeforeMode);
    state.humanSideBeforeMode = -1;
    state.boardMode = PlayMode;
}

void setBoardMode(WindowState& state, int mode) {
    if (mode != BookViewMode && mode != AnalysisMode) mode = PlayMode;
    searchController.requestStop(StopRequest::MoveNow);
    if (mode == PlayMode) {
        // An analysis ends here; a think on the engine's move has been told to move.
        if (state.boardMode == AnalysisMode) stopSearch();
        leaveBoardMode(state);
        return;
    }
    if (state.humanSideBeforeMode < 0) state.humanSideBeforeMode = searchInfo.humanSide.load();
    searchInfo.humanSide.store(EnginePlaysNeither);
    state.boardMode = mode;
    if (mode == AnalysisMode) {
        state.analysisPaneOpen = true;
        requestAnalysis();
    } else {
        // The engine's move, if it was thinking, is played by now: the book view reads the
        // book of a position that stays.
        searchController.waitUntilIdle();
    }
}

void toggleBoardMode(WindowState& state, int mode) {
    setBoardMode(state, state.boardMode == mode ? PlayMode : mode);
}

} // namespace corvid
