// Process start: the run-mode choice from the first input line, then the mode's main loop.
#pragma once

namespace corvid {

enum class EngineMode { Gui, WinBoard, Uci };

// Reads the first line of standard input and runs the chosen mode; returns the exit code.
int startUp();

// True when standard input is a terminal and a display is available: a person started the
// program from a desktop, so the window is wanted.
bool desktopWanted();

} // namespace corvid
