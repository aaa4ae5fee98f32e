// The board's modes: play, book view (the book moves of the position shown are marked) and
// analysis (the engine analyses the position shown in the analysis pane). Book view and
// analysis remember who played and switch the engine off; play gives the sides back.
#pragma once

#include "gui/logic/window_state.h"

namespace corvid {

// Switches to PlayMode, BookViewMode or AnalysisMode. A search on the engine's move plays its
// move now; analysis opens the pane (analysisPaneOpen) and starts analysing.
void setBoardMode(WindowState& state, int mode);
// The side panel's "Book" and "Analyze": that mode, or back to play when it is on.
void toggleBoardMode(WindowState& state, int mode);
// Back to play with the sides as they were (a new game).
void leaveBoardMode(WindowState& state);

} // namespace corvid
