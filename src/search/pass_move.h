// Handing the move to the other side without a move on the board, on a scratch copy, for
// tests that ask what the side not to move could do now.
#pragma once

#include "chess/attacks.h"
#include "chess/zobrist.h"

namespace corvid {

// STAND-IN until the game module's null move lands; replace the calls with it then. Only for
// a side to move that is not in check.
inline void PassTheMove(Position &p) {
    p.key ^= ZobristSide;
    if (p.epSquare < 64) {
        p.key ^= ZobristEp[p.epSquare];
        p.epSquare = NoSquare;
    }
    p.sideToMove ^= 1;
    ++p.ply;
    p.checkers = AttackersOf(p, p.kingSquare[p.sideToMove], p.sideToMove ^ 1, false);
}

} // namespace corvid
