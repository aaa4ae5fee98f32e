// The side panel's "Retract" and "Move" buttons and the analysis pane's line count ("+", "-").
#pragma once

#include "gui/logic/command_table.h"
#include "gui/logic/window_state.h"

#include <string>

namespace corvid {

namespace analysispane {
constexpr int Plus = 1043, Minus = 1044, Copy = 123, Close = 1045, LinesLabel = 1046;
constexpr int MaxLines = 6;
} // namespace analysispane

// "Retract": one half-move back, or two when the engine made the last move, so that the
// person is to move again; never before the game's start.
void retractMove(WindowState& state);
// "Move": the engine plays the side to move now (a running search is stopped first). Against
// a person the engine takes over the side to move; in self-play it just moves.
void engineMovesNow(WindowState& state);

// "+" and "-" of the analysis pane: one line more (up to 6) or fewer (down to 1). Ignored while
// a search runs outside analysis mode; in analysis mode the analysis restarts with the new
// count. False when nothing changed.
bool changeAnalysisLines(const WindowState& state, int delta);
// The count as label 1046 shows it.
std::string analysisLinesText();

// Registers "Retract" (105) and "Move" (107).
void registerPanelCommands(CommandDispatcher& dispatcher, WindowState& state);

} // namespace corvid
