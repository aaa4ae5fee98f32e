// Process start: the run-mode choice from the first input line, then the mode's main loop.
#pragma once

namespace corvid {

enum class EngineMode { Gui, WinBoard, Uci };

// The desktop program: given the engine's preparation (settings and engine start-up), opens
// the window and runs it; returns the exit code. Passed in by the process entry, so that the
// engine library itself needs no window system.
using DesktopProgram = int (*)(void (*prepareEngine)());

// Reads the first line of standard input and runs the chosen mode; returns the exit code.
int startUp(DesktopProgram desktop);

// True when standard input is a terminal and a display is available: a person started the
// program from a desktop, so the window is wanted.
bool desktopWanted();

} // namespace corvid
