// Passing the turn without moving a piece: the search's null move and the game's "Null".
#pragma once

#include "chess/position.h"
#include "chess/zobrist.h"

namespace corvid {

// The side to move flips and ply advances; the board is untouched. The en-passant square goes
// (its key term with it). Only for a side not in check: then the new side is not in check
// either, and the pins are those of the unchanged board.
inline void MakeNullMove(Position& p) {
    if (p.epSquare < 64) p.key ^= ZobristEp[p.epSquare];
    p.epSquare = NoSquare;
    p.key ^= ZobristSide;
    p.checkers = 0;
    ++p.ply;
    p.sideToMove ^= 1;
}

} // namespace corvid
