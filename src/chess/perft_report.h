// The Develop menu's "Display Perft": counts for depths 1 to 5 of the game position, the time
// taken and the speed, shown on the status line.
#pragma once

#include "chess/position.h"

#include <string>

namespace corvid {

// Counts depths 1..maxDepth of the position and writes the report text.
std::string PerftReport(Position& position, int maxDepth);

// The menu command: depths 1 to 5 of the game shown.
void ShowPerft();

} // namespace corvid
