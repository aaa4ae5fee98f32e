// Positions without pawns: mating the bare king, and the drawish piece balances.
#pragma once

#include "chess/position.h"

#include <cstdint>

namespace corvid {

// The score for `side` (the side to move) of a position in which neither side has a pawn.
int32_t pawnlessEval(const Position& position, int side);

} // namespace corvid
