// The protocol modes' reporters: what the engine says becomes UCI "info" and "bestmove" lines,
// or the WinBoard thinking output, "move", result claims, resignation and draw offers. Status
// texts, message boxes and board changes are the desktop's and stay unsaid here.
#pragma once

#include "chess/position.h"
#include "platform/engine_reporter.h"

#include <string>

namespace corvid {

// Installs the reporter of the mode: UCI once "uci" has been read, WinBoard otherwise.
void useUciReporter();
void useWinBoardReporter();

// The UCI score text: "cp 35" or "mate -2".
std::string uciScoreText(int score, int depthPlies, int gamePly);
// The line's moves from the root position, each followed by one blank, up to the first move
// that cannot be played; SAN when san is set, else coordinates. Only the first move of a bound
// line (WinBoard adds its bound mark).
std::string principalVariationText(const Position& root, const ReportedLine& line, int bound,
                                   bool san);

} // namespace corvid
