#include "eval/endgame_dispatch.h"

namespace corvid {

bool isSpecialEndgame(const Position &p) {
    bool noPawns = p.pawnCount[White] == 0 && p.pawnCount[Black] == 0;
    bool noPieces = p.pieceCount[White] == 0 && p.pieceCount[Black] == 0;
    bool fewPieces = p.pieceCount[White] <= 1 && p.pieceCount[Black] <= 1;
    return noPawns || noPieces || fewPieces;
}

// Stand-in until the endgame evaluators exist: every position takes the general terms.
bool evaluateSpecialEndgame(const Position &, EvalDetail &, int32_t *, int32_t &) { return false; }

} // namespace corvid
