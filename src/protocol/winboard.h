// The WinBoard (xboard protocol 2) command handler.
#pragma once

#include <string>

namespace corvid {

// Handles one line (without its line end). Also sees the first input line, where "uci" switches
// to UCI mode.
void winboardCommand(const std::string& line);

// The first input line before the engine is initialised: only the harmless answers ("uci"
// identification, protover features). Returns true when it printed the features.
bool winboardFirstLine(const std::string& line);

// The resets of a protocol game start (the read loop's start and "new").
void protocolGameResets();

// WinBoard state of this handler (command thread only).
struct WinBoardState {
    double lastTimeCommand = 0; // engine's time left, centiseconds
    char opponentName[72] = "Human";
    double fixedMoveSeconds = 0; // "st"; 0 = use the clocks
};
extern WinBoardState winboardState;

// The engine's budget for its next move from the last "time" and the time control.
void winboardAllocateTime();

// "level" arguments: moves per control, base time in minutes ("5" or "0:30"), increment seconds
// (fractional allowed). False when the line does not parse.
bool parseLevel(const std::string& line, int& moves, double& baseMinutes, double& increment);

} // namespace corvid
