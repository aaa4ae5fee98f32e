// The analysis pane's line count: "+" and "-" set how many lines an analysis searches.
#pragma once

#include "gui/logic/window_state.h"

#include <string>

namespace corvid {

namespace analysispane {
constexpr int Plus = 1043, Minus = 1044, Copy = 123, Close = 1045, LinesLabel = 1046;
constexpr int MaxLines = 6;
} // namespace analysispane

// "+" and "-": one line more (up to 6) or fewer (down to 1). Ignored while a search runs
// outside analysis mode; in analysis mode the analysis restarts with the new count. False when
// nothing changed.
bool changeAnalysisLines(const WindowState& state, int delta);
// The count as label 1046 shows it.
std::string analysisLineCountText();

} // namespace corvid
