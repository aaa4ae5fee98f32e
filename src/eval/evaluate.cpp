#include "eval/evaluate.h"

#include "chess/attacks.h"
#include "eval/attack_info.h"
#include "eval/endgame_dispatch.h"
#include "eval/eval_helpers.h"
#include "eval/eval_tables.h"
#include "eval/pawn_structure.h"
#include "eval/piece_activity.h"

#include <algorithm>

namespace corvid {

namespace {

// Per thread: the record used when the caller passes none, overwritten by every call.
constinit thread_local EvalDetail scratchDetail{};

constexpr int FirstLazyMargin = 550;
constexpr int SecondLazyMargin = 400;
constexpr int SecondLazyMarginPassers = 500;

// Only king and pawns for the side to move, no pawn move and no king move: stalemate.
bool IsPawnAndKingStalemate(const Position& p, int us) {
    int them = us ^ 1;
    Bitboard pawns = p.Pieces(us, Pawn);
    if (pawns) {
        // A double step needs the single step free, so single steps and captures decide.
        if (ShiftForward(us, pawns) & ~p.occupied) return false;
        if (PawnAttackSet(us, pawns) & p.colourBB[them]) return false;
    }
    Bitboard attacked = AttackedSquares(p, them, true, true, ~Bitboard{0});
    int king = p.kingSquare[us];
    if (attacked & SquareBB(king)) return false;
    return !(KingAttacks[king] & ~attacked & ~p.colourBB[us]);
}

// Drawish material without pawns for side x: returns true (and scales the score) when it
// applies.
bool PawnlessScale(int x, const Position& p, int& score) {
    int other = x ^ 1;
    int np = NonPawnMaterial(p, x);
    int c = p.pieceCount[x], k = p.pieceCount[other];
    int d = np - NonPawnMaterial(p, other);
    if (np == 640) {
        score = (score * 8) / 100;
        return true;
    }
    if (c == k + 1 && d < 440 && c <= 4) {
        int percent = c <= 2 ? 14 : c == 3 ? 25 : 50;
        score = (score * percent) / 100;
        return true;
    }
    if (c == 2 && k == 2 && d <= 182) {
        score = (score * 25) / 100;
        return true;
    }
    return false;
}

int BareKingBonus(int np) { return np < 3 || np == 640 || np == 660 ? 100 : 500; }

int32_t Finish(int score) {
    score = std::clamp(score, -StaticScoreLimit, StaticScoreLimit);
    return score & ~3;
}

// The scaling of steps 13 to 16 for drawish material; returns true when the score is final.
bool ScaleDrawish(const Position& p, int us, int& score) {
    int them = us ^ 1;
    if (score >= 0 && p.pawnCount[us] == 0 && PawnlessScale(us, p, score)) return true;
    if (score <= 0 && p.pawnCount[them] == 0 && PawnlessScale(them, p, score)) return true;

    int strong = score > 0 ? us : them, weak = strong ^ 1;
    if (p.pieceCount[strong] > 2) return false;
    int npStrong = NonPawnMaterial(p, strong), npWeak = NonPawnMaterial(p, weak);
    Bitboard strongBishops = p.Pieces(strong, Bishop), weakBishops = p.Pieces(weak, Bishop);
    if (npStrong <= npWeak && npStrong != 680 && PopCountSmall(strongBishops) == 1 &&
        PopCountSmall(weakBishops) == 1 &&
        !(strongBishops & LightSquares) != !(weakBishops & LightSquares))
        score = (score * (p.pawnCount[strong] >= 2 ? 75 : 30)) / 100;
    if (p.pieceCount[strong] == 2 && p.minorCount[strong] == 2 && npWeak >= 522 &&
        p.pawnCount[strong] <= 1 && p.pawnCount[weak] >= 1)
        score = (score * 60) / 100;
    return false;
}

} // namespace

int32_t phaseMaterial(const Position& p) {
    return (NonPawnMaterial(p, White) + NonPawnMaterial(p, Black)) >> 1;
}

int32_t materialBalance(int side, const Position& p) {
    int x = side, y = side ^ 1;
    int base = p.material[x] - p.material[y];
    bool queenX = p.Pieces(x, Queen) != 0, queenY = p.Pieces(y, Queen) != 0;
    int cx = p.pieceCount[x] + (queenX ? 1 : 0);
    int cy = p.pieceCount[y] + (queenY ? 1 : 0);
    int value = base;
    if (queenX && !queenY && cx >= cy) value += 42;
    if (queenY && !queenX && cy >= cx) value -= 42;
    if (MoreThanOne(p.Pieces(x, Bishop))) value += 20;
    if (MoreThanOne(p.Pieces(y, Bishop))) value -= 20;
    if (cx > cy) value += 64;
    if (cx < cy) value -= 64;
    int pawnsX = p.pawnCount[x], pawnsY = p.pawnCount[y];
    int surplus = evaldata::PawnSurplus[std::min(cx + cy, 35)];
    if (base > 175 && pawnsX > pawnsY && pawnsX > 1)
        value += surplus * std::min(pawnsX - pawnsY, 3);
    else if (base < -175 && pawnsY > pawnsX && pawnsY > 1)
        value -= surplus * std::min(pawnsY - pawnsX, 3);
    return value;
}

int32_t evaluatePosition(const Position& p, int32_t alpha, int32_t beta, bool* lazyFlag,
                         EvalDetail* detailOut, int32_t* materialOut) {
    int us = p.sideToMove, them = us ^ 1;
    // Step 1. Fetch the pawn cache entry early; reset the outputs.
    prefetchPawnCacheSlot(p.pawnKey);
    EvalDetail& detail = detailOut ? *detailOut : scratchDetail;
    ClearAttackFields(detail);
    bool lazy = false;
    if (lazyFlag) *lazyFlag = false;
    // Every path, the early ones included, reports the material it stands on.
    int material = materialBalance(us, p);
    if (materialOut) *materialOut = material;

    // Step 2. Stalemate with only king and pawns.
    if (p.pieceCount[us] == 0 && IsPawnAndKingStalemate(p, us)) return 0;

    // Step 3. Little material: the endgame evaluators.
    if (isSpecialEndgame(p)) {
        int32_t score = 0;
        // The specialised evaluators' scores are final as they stand (only kept out of the
        // mate range); they are not rounded to a multiple of 4.
        if (evaluateSpecialEndgame(p, detail, materialOut, score))
            return std::clamp(score, -StaticScoreLimit, StaticScoreLimit);
    }

    // Step 4. Game phase.
    int npUs = NonPawnMaterial(p, us), npThem = NonPawnMaterial(p, them);
    int phase = phaseMaterial(p);

    // Steps 5 and 6. Material, piece-square sums and the tempo bonus.
    ScorePair pst{p.pstMg, p.pstEg};
    if (us == Black) pst = -pst;
    pst += TempoBonus;
    int score = material + InterpolatePhase(pst, phase, PstPhaseLow, PstPhaseHigh);

    // Steps 7 and 8. The pawn structure, unless the score is far outside the window.
    lazy = true;
    PawnCacheEntry* entry = nullptr;
    if (alpha - FirstLazyMargin < score && score < beta + FirstLazyMargin)
        score += pawnStructureTerm(us, p, entry, detail.pawnStructure, phase);

    // Steps 9 and 10. Pieces, king safety and passed pawns inside the narrower window.
    int margin = SecondLazyMargin;
    if (entry && phase < 1800 && (entry->passed[White] | entry->passed[Black]))
        margin = SecondLazyMarginPassers;
    if (entry && alpha - margin < score && score < beta + margin) {
        lazy = false;
        buildAttackInfo(detail, p);
        ScorePair activity = pieceActivityTerm(us, p, *entry, detail);
        for (int c = 0; c < 2; ++c) detail.passedPawns[c] = passedPawnTerm(c, p, *entry, detail);
        int passed = detail.passedPawns[us] - detail.passedPawns[them];
        score += InterpolatePhase(activity, phase, ActivityPhaseLow, ActivityPhaseHigh) + passed;
    }
    if (lazyFlag) *lazyFlag = lazy;

    // Step 11. A bare king.
    if (p.material[them] == 0) score += BareKingBonus(npUs);
    if (p.material[us] == 0) score -= BareKingBonus(npThem);

    // Step 12. Rook against a minor piece gains as the pieces come off.
    if (phase < 1300) {
        int diff = ExchangeBonus(us, p) - ExchangeBonus(them, p);
        if (diff != 0 && phase > 500) {
            int t = ((500 - phase) * 128) / 800;
            diff += (diff * t) / 128;
        }
        score += diff;
    }

    // Steps 13 to 17. Drawish material, then the multiple of 4.
    ScaleDrawish(p, us, score);
    return Finish(score);
}

} // namespace corvid
