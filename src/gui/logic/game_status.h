// The side panel's game status: the move number (with the check warning) and each side's
// material surplus.
#pragma once

#include "gui/logic/game_snapshot.h"

#include <string>

namespace corvid {

// "Move # %d" (ply / 2 + 1), followed by "  CHECK!" when the side to move is in check.
std::string moveNumberText(const GameSnapshot& game);
// What the side has more than the other: the difference and the letter of each kind where the
// counts differ ("1p, 1N, "); "" when it has nothing more.
std::string materialSurplus(const GameSnapshot& game, int colour);

} // namespace corvid
