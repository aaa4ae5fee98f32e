// The pawn race table: can a lone pawn, pushed straight on, promote before the other king
// stops it?
#pragma once

#include <cstdint>
#include <vector>

namespace corvid::bitbase_gen {

// The answer for the racing side playing White (pawn moving towards row 0). The racing side
// only pushes the pawn, except for at most one king move when its own king stands on the
// pawn's path; the other king moves freely. The race succeeds when the pawn promotes and the
// new queen can neither be taken nor leaves the other king stalemated.
class PawnRace {
public:
    PawnRace();
    // kingMoves: how many king moves the racing side may still spend (0 or 1).
    bool promotes(int pawn, int racingKing, int otherKing, bool racingToMove, int kingMoves);

private:
    std::vector<int8_t> memo_;
    bool search(int pawn, int king, int other, bool racingToMove, int kingMoves);
};

} // namespace corvid::bitbase_gen
