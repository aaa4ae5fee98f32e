#include "eval/endgame_dispatch.h"

#include "eval/few_pieces_eval.h"
#include "eval/pawn_ending_eval.h"
#include "eval/pawnless_eval.h"

namespace corvid {

bool isSpecialEndgame(const Position& p) {
    bool noPawns = p.pawnCount[White] == 0 && p.pawnCount[Black] == 0;
    bool noPieces = p.pieceCount[White] == 0 && p.pieceCount[Black] == 0;
    bool fewPieces = p.pieceCount[White] <= 1 && p.pieceCount[Black] <= 1;
    return noPawns || noPieces || fewPieces;
}

bool evaluateSpecialEndgame(const Position& p, EvalDetail& detail, int32_t* materialOut,
                            int32_t& score) {
    int us = p.sideToMove;
    if (p.pawnCount[White] == 0 && p.pawnCount[Black] == 0)
        score = pawnlessEval(p, us);
    else if (p.pieceCount[White] == 0 && p.pieceCount[Black] == 0)
        score = pawnEndingEval(p, us);
    else
        score = fewPiecesEval(p, us, detail, materialOut);
    return true;
}

} // namespace corvid
