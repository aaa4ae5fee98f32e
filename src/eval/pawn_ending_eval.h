// Pawn endings: positions with kings and pawns only.
#pragma once

#include "chess/position.h"

#include <cstdint>

namespace corvid {

// The score for `side` (the side to move) of a position in which neither side has a piece.
int32_t pawnEndingEval(const Position& position, int side);

} // namespace corvid
