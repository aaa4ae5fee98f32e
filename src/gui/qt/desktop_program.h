// The desktop program: the process's life in the window mode.
#pragma once

namespace corvid {

// Checks that a display can be reached (Qt would otherwise abort), then lets prepareEngine
// load the settings and start the engine, opens the main window and runs the window loop
// until the window closes. Returns the exit code: 0, also when there is no display (then it
// only says so).
int runDesktopProgram(void (*prepareEngine)());

} // namespace corvid
