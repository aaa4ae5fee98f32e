#include "search/selectivity.h"

#include "search/reduction_table.h"
#include "search/threat.h"

#include <algorithm>
#include <cstdlib>

namespace corvid {

namespace {

bool isUnderPromotion(const Position& p, Move m) {
    return TypeOf(p.board[MoveFrom(m)]) == Pawn && (SquareBB(MoveTo(m)) & PromotionRows) &&
           PromotionCode(m) != 0;
}

bool isPiece(PieceCode piece) {
    int type = TypeOf(piece);
    return type >= Knight && type <= Queen;
}

} // namespace

int extensionFor(const SearchContext& c, const NodeState& n, Move m, Bitboard checks,
                 int threatClass, int captured, bool singular) {
    const Position& pos = c.position;
    const PlyRecord& rec = c.stack[n.ply];
    bool checkFlag = checks && (threatClass >= 0 || pawnsOnSeventh(pos, n.them) ||
                                checks != SquareBB(MoveTo(m)) || rec.mateThreat ||
                                (n.depth <= CaptureCheckMaxDepth && captured > 0));
    bool recapture = captured > PieceValue[Pawn] && n.ply > 0 &&
                     pos.pieceCount[White] + pos.pieceCount[Black] <= 1 &&
                     c.stack[n.ply - 1].capturedType >= Knight &&
                     c.stack[n.ply - 1].capturedType <= Queen;
    int ext = 0;
    if (singular || checkFlag)
        ext = singular ? SingularExtension : CheckExtension;
    else if (threatClass == 5 && n.depth <= PawnTo7thMaxDepth)
        ext = PawnTo7thExtension;
    if (recapture) ext = RecaptureExtension;
    return ext;
}

bool isTactical(const SearchContext& c, const NodeState& n, Move m, int stage, int ext,
                Bitboard checks, int threatClass) {
    if (ext > 0 || checks || threatClass >= 3 || stage != QuietStage || n.inCheck) return true;
    if (n.ply == 0 || n.staticEval <= n.alpha) return false;
    if (c.stack[n.ply].mateThreat) return true;
    const Position& pos = c.position;
    return n.depth >= 2 && c.stack[n.ply - 1].threatClass >= 2 && isPiece(pos.board[MoveFrom(m)]) &&
           isEscapeMove(pos, m);
}

bool lateMovePruned(const SearchContext& c, const NodeState& n, Move m, int stage, bool tactical,
                    Bitboard checks, int threatClass, int triedCount) {
    const Position& pos = c.position;
    if (!c.switches.lateMovePruning ||
        n.depth >
            std::min(c.iterationDepth - LateMovePruningIterationSlack, LateMovePruningMaxDepth) ||
        triedCount < 1 || n.nodeType == PvNode || n.alpha <= -MateThreshold ||
        pos.pieceCount[White] + pos.pieceCount[Black] == 0)
        return false;
    if (stage == BadCaptureStage)
        return !seeAtLeast(pos, m,
                           -BadCapturePruneBase - BadCapturePrunePerPly * std::max(n.depth / 2, 1));
    if (stage != RefutationStage && stage != QuietStage) return false;
    if (triedCount >= lateMoveLimit(n.improving, n.depth) && !tactical &&
        (n.depth < 4 || threatClass < 2))
        return true;
    return !checks && n.depth <= LosingQuietPruneMaxDepth && threatClass == -1 &&
           !seeAtLeast(pos, m,
                       -LosingQuietPrunePerDepth * std::max(n.depth * (n.depth / 2) / 2, 1));
}

int lateMoveReduction(const SearchContext& c, const NodeState& n, Move m, int stage, bool tactical,
                      Bitboard checks, int threatClass, int newDepth, int triedCount) {
    const Position& pos = c.position;
    if (!c.switches.lateMoveReductions || newDepth <= LmrMinNewDepth || n.ply == 0) return 0;
    int r = 0;
    if (stage == QuietStage && !tactical) {
        r = 2 * reductionFor(newDepth / 2, triedCount);
        if (n.nodeType == PvNode) r -= LmrPvNodeBonus;
        if ((n.improving && threatClass >= 1) || threatClass >= 2) r -= LmrThreatBonus;
        if (threatClass >= 1) r = std::min(r, LmrThreatCap);
        if (newDepth < LmrPawnEndingDepth && pos.pieceCount[White] + pos.pieceCount[Black] == 0)
            r = std::min(r, LmrPawnEndingCap);
    } else if (isUnderPromotion(pos, m) && !checks) {
        r = UnderPromotionReduction;
    }
    return std::max(r, 0);
}

int reverseFutilityMargin(const SearchContext& c, const NodeState& n) {
    const Position& pos = c.position;
    int pieces = pos.pieceCount[White] + pos.pieceCount[Black];
    int margin = (pieces <= 2 ? ReverseFutilityFewPiecesMargin : ReverseFutilityBaseMargin) +
                 std::max(n.depth / 2, 1) *
                     (n.improving ? ReverseFutilityPerPlyImproving : ReverseFutilityPerPly) +
                 ReverseFutilityPerThreatClass * std::max(c.stack[n.ply - 1].threatClass, 0);
    if (n.beta < -ReverseFutilityLosingBeta && pos.pieceCount[n.them] > 1)
        margin += (std::abs(n.beta) - ReverseFutilityLosingBeta) / ReverseFutilityLosingDivisor;
    return margin;
}

bool nullMoveApplies(const SearchContext& c, const NodeState& n) {
    return c.switches.nullMovePruning && c.nullMoveAllowed && n.beta < MateThreshold &&
           n.depth >= NullMoveMinDepth &&
           n.staticEval >
               n.beta + std::max(0, NullMoveEvalPerDepth * (NullMoveEvalDepth - n.depth)) &&
           c.position.pieceCount[n.us] > 0;
}

int nullMoveDepth(const SearchContext& c, const NodeState& n) {
    const Position& pos = c.position;
    int npm = pos.material[n.us] - PieceValue[Pawn] * pos.pawnCount[n.us];
    bool losing = n.ply > 1 && c.stack[n.ply - 2].materialBalance - c.stack[n.ply].materialBalance >
                                   NullMoveLosingDrop;
    int r = n.depth - NullMoveBaseReduction;
    if (n.depth >= NullMoveDeepDepth && npm >= NullMoveQueenMaterial && !n.threatened) r -= r / 4;
    if (npm < NullMoveLowMaterial || losing || n.threatened) r += 2;
    if (pos.pawnCount[n.them] == 0 && pos.pawnCount[n.us] > 1) r -= 2;
    if (pos.material[n.them] == 0) r -= 4;
    if (!n.threatened && npm >= NullMoveQueenMaterial &&
        n.staticEval > n.beta + NullMoveSafeMargin && pos.pieceCount[n.them] == 0)
        r -= 4;
    return r;
}

} // namespace corvid
