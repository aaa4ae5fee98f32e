#include "eval/eval_breakdown.h"

#include "chess/piece_square_table.h"
#include "eval/eval_helpers.h"
#include "eval/eval_tables.h"
#include "eval/evaluate.h"
#include "eval/pawn_structure.h"
#include "eval/search_personality.h"

#include <climits>
#include <cstring>

namespace corvid {

namespace {

// Marks the terms the evaluation did not reach (the specialised endgames skip them).
constexpr int32_t NotReached = INT32_MIN;

void clearDetail(EvalDetail& detail) {
    detail = EvalDetail{};
    detail.kingSafety[White] = detail.kingSafety[Black] = NotReached;
}

ScorePair weighted(ScorePair pair, int percent) {
    return {pair.mg * percent / 100, pair.eg * percent / 100};
}

int activityBlend(ScorePair pair, int phase) {
    return InterpolatePhase(pair, phase, ActivityPhaseLow, ActivityPhaseHigh);
}

} // namespace

int EvalBreakdown::termSum() const {
    return material + squareTable + pawns[White] - pawns[Black] + mobility[White] -
           mobility[Black] + tactical[White] - tactical[Black] + king[White] - king[Black];
}

EvalBreakdown evalBreakdown(const Position& p, EvalDetail& detail) {
    EvalBreakdown b;
    clearDetail(detail);
    const int us = p.sideToMove;
    b.score = evaluatePosition(p, EvalWindowMin, EvalWindowMax, nullptr, &detail);
    b.phase = phaseMaterial(p);
    b.material = materialBalance(White, p);
    b.rawMaterial = p.material[White] - p.material[Black];
    ScorePair pst{p.pstMg, p.pstEg};
    b.squareTable = us == White
                        ? InterpolatePhase(pst + TempoBonus, b.phase, PstPhaseLow, PstPhaseHigh)
                        : -InterpolatePhase(-pst + TempoBonus, b.phase, PstPhaseLow, PstPhaseHigh);
    b.detailed = detail.kingSafety[White] != NotReached;
    if (!b.detailed) return b;
    const SearchPersonality& weights = activePersonality;
    for (int c = 0; c < 2; ++c) {
        b.structure[c] = detail.pawnStructure[c];
        b.passed[c] = detail.passedPawns[c];
        b.pawns[c] = b.structure[c] + b.passed[c];
        // The space term is White's minus Black's: it counts for the side it favours.
        int space = c == White ? std::max(detail.space, 0) : std::max(-detail.space, 0);
        ScorePair pieces = detail.minorPieces[c] + detail.rooksQueens[c] + detail.placement[c] +
                           ScorePair{space, space};
        b.mobility[c] = activityBlend(weighted(pieces, weights.pieceWeight), b.phase);
        b.tactical[c] = activityBlend(detail.threats[c], b.phase);
        b.king[c] = detail.kingSafety[c] * weights.kingSafetyWeight / 100;
    }
    return b;
}

PieceShare pieceShare(const Position& p, int square, const EvalDetail& detail) {
    PieceShare share;
    const PieceCode piece = p.board[square];
    if (piece == Empty) return share;
    const int colour = ColourOf(piece), phase = phaseMaterial(p);
    share.type = TypeOf(piece);
    share.mat = share.type == King ? 0 : PieceValue[share.type];
    share.pinned = (p.blockers[colour] & SquareBB(square)) != 0;
    // The table holds Black's values negated (White's point of view).
    ScorePair sq = pieceSquareTable[piece][square];
    if (colour == Black) sq = -sq;
    share.sq = InterpolatePhase(sq, phase, PstPhaseLow, PstPhaseHigh);
    const SideAttackInfo& info = detail.side[colour];
    if (!info.attacksBuilt || detail.kingSafety[colour] == NotReached) return share;
    for (int i = 0; i < info.pieceCount && i < MaxListedPieces; ++i) {
        const ListedPiece& listed = info.pieces[i];
        if (listed.square != square) continue;
        ScorePair own{listed.valueMg, listed.valueEg};
        share.pos = activityBlend(weighted(own, activePersonality.pieceWeight), phase);
    }
    return share;
}

KingDetails kingDetails(const Position& p, int side) {
    KingDetails k;
    EvalDetail detail;
    clearDetail(detail);
    constexpr int Window = 10000;
    evaluatePosition(p, -Window, Window, nullptr, &detail);
    if (detail.kingSafety[side] == NotReached) return k;
    k.detailed = true;
    const int them = side ^ 1;
    PawnCacheEntry& entry = probePawnEntry(p);
    int raw = kingSafety(side, p, entry, detail, &k.parts);
    k.safety = raw * activePersonality.kingSafetyWeight / 100;
    const SideAttackInfo& ours = detail.side[side];
    k.mobilityDiff = ours.mobilitySum - detail.side[them].mobilitySum;
    k.attacked = detail.side[them].allAttacks;
    k.defended = ours.pawnAttacks | ours.knightAttacks | ours.bishopAttacks | ours.rookAttacks |
                 ours.queenAttacks;
    return k;
}

} // namespace corvid
