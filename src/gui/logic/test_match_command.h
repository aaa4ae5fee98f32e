// Command 40087: the test match from the desktop (no menu item; Control+M).
#pragma once

#include "gui/logic/window_state.h"

namespace corvid {

// Stops whatever the engine does and starts the test match with its presets; the window returns
// to play mode with the engine's name on both sides. The statistics arrive as status texts.
void startDesktopTestMatch(WindowState& state);

} // namespace corvid
