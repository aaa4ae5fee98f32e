// The rules that may end a node before its moves are generated: razoring, reverse futility,
// null move and ProbCut.
#include "chess/make_move.h"
#include "chess/null_move.h"
#include "search/node_state.h"
#include "search/search.h"
#include "search/selectivity.h"

#include <algorithm>
#include <cstdlib>

namespace corvid {

namespace {

int razoring(SearchContext& c, const NodeState& n) {
    const Position& pos = c.position;
    if (n.depth > RazorMaxDepth || pawnsOnSeventh(pos, n.us) || c.stack[n.ply - 1].mateThreat ||
        std::abs(n.alpha) >= MateThreshold || n.ttMove || n.evalPrime + RazorMargin >= n.alpha)
        return NoScore;
    int v = quiesce(c, n.alpha - RazorMargin, n.alpha - RazorMargin + 1, 0, n.nodeType);
    return v <= n.alpha - RazorMargin ? v : NoScore;
}

int reverseFutility(SearchContext& c, const NodeState& n) {
    if (!c.switches.futilityPruning || n.ply <= 1 || n.depth > ReverseFutilityMaxDepth ||
        std::abs(n.beta) >= MateThreshold || n.threatened)
        return NoScore;
    return n.evalPrime > n.beta + reverseFutilityMargin(c, n) ? n.beta : NoScore;
}

int nullMove(SearchContext& c, const NodeState& n) {
    Position& pos = c.position;
    if (!nullMoveApplies(c, n)) return NoScore;
    int npm = pos.material[n.us] - PieceValue[Pawn] * pos.pawnCount[n.us];
    int r = nullMoveDepth(c, n);
    PlyRecord& rec = c.stack[n.ply];

    Position saved = pos;
    recordNullMove(rec);
    c.stack[n.ply + 1].mateThreat = NoMove;
    MakeNullMove(pos);
    int v;
    if (r < 0) {
        v = quiesce(c, -n.beta, 1 - n.beta, 0, AllNode);
    } else {
        c.setKey(pos.ply, pos.key);
        v = searchNode(c, -n.beta, 1 - n.beta, std::max(r & ~1, 2), false, AllNode);
    }
    pos = saved;
    if (v == AbortScore) return AbortScore;
    v = -v;
    if (v < n.beta) return NoScore;

    int verifyAbove = npm <= NullMoveVerifyMaterial ? NullMoveVerifyDepth : NullMoveVerifyDepthRich;
    if (n.depth <= verifyAbove) return n.beta;
    int verifyDepth = std::min(n.depth - verifyAbove, r);
    if (n.tt.found && n.tt.depth >= verifyDepth && n.tt.score != 0 && n.tt.score >= n.beta)
        return n.beta;
    int w = searchNode(c, n.beta - 1, n.beta, verifyDepth, false, CutNode);
    if (w == AbortScore) return AbortScore;
    return w >= n.beta ? n.beta : NoScore;
}

int probCut(SearchContext& c, const NodeState& n) {
    Position& pos = c.position;
    if (!c.switches.probCutPruning || n.depth <= ProbCutMinDepth || n.threatened) return NoScore;
    ScoredMoveList list;
    list.count = 0;
    GenerateMoves(pos, list, pos.colourBB[n.us], pos.colourBB[n.them], PawnCapturesOnly, true,
                  false);
    scoreCaptures(list, pos);
    SortMoves(list, 0, list.count);
    int threshold =
        std::max(n.beta + ProbCutMargin, ProbCutPreviousEvalBase - c.stack[n.ply - 1].staticEval);
    int high = n.beta + ProbCutMargin;
    CheckSquares checkSquares = PrepareCheckSquares(pos);
    PlyRecord& rec = c.stack[n.ply];
    for (int i = 0; i < std::min(list.count, ProbCutMoves); ++i) {
        Move m = list.moves[i];
        if (n.staticEval + capturedValue(pos, m) < threshold || m == n.excluded || !IsLegal(pos, m))
            continue;
        Position saved = pos;
        PieceCode mover = pos.board[MoveFrom(m)];
        UndoInfo undo;
        MakeMove(pos, m, GivesCheck(saved, m, checkSquares), undo, &transpositionTable);
        recordMove(rec, mover, m, undo);
        rec.threatClass = 0;
        rec.pawnTo7th = 0;
        rec.extension = 0;
        c.stack[n.ply + 1].mateThreat = NoMove;
        int v = quiesce(c, -threshold, 1 - threshold, 0, CutNode);
        v = -v;
        if (v >= threshold) {
            c.setKey(pos.ply, pos.key);
            v = searchNode(c, -high, -high + 1, n.depth - ProbCutDepthReduction, false, CutNode);
            if (v == AbortScore) {
                pos = saved;
                return AbortScore;
            }
            v = -v;
        }
        pos = saved;
        if (v >= high) return v;
    }
    return NoScore;
}

} // namespace

int preMovePruning(SearchContext& c, const NodeState& n) {
    for (auto rule : {razoring, reverseFutility, nullMove, probCut}) {
        int v = rule(c, n);
        if (v != NoScore) return v;
    }
    return NoScore;
}

} // namespace corvid
