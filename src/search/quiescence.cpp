// The quiescence search: stand pat, captures and promotions, checks and their evasions for two
// levels, mates in one, and table entries at its first level.
#include "chess/make_move.h"
#include "eval/evaluate.h"
#include "search/check_moves.h"
#include "search/mate_detection.h"
#include "search/node_state.h"
#include "search/search.h"
#include "search/threat.h"

#include <algorithm>

namespace corvid {

namespace {

// Check evasions searched without standing pat (0), limited evasions after a stand pat (1),
// captures (2), recaptures and quiet promotions only (3).
int quiescenceMode(const SearchContext& c, bool inCheck, int qd, int checkClassHere) {
    if (!inCheck) return qd >= QuiescenceRecaptureOnlyDepth ? 3 : 2;
    if (!c.switches.qsearchChecks) return 1;
    int k = checkClassHere;
    if (qd <= 2 || ((k == 1 || k == 2) && qd <= 4) || (k == 3 && qd <= 6)) return 0;
    return 1;
}

int tableDepth(int qd) { return std::max(-qd - 2, -6); }

// A checking move whose piece hangs is still worth a look at the first level when it wins
// something back or opens a line.
bool worthDeferring(const Position& p, Move m, int capturedValue) {
    int us = p.sideToMove;
    int pieces = p.pieceCount[White] + p.pieceCount[Black];
    if (capturedValue >= (pieces >= 3 ? PieceValue[Knight] : PieceValue[Pawn])) return true;
    int from = MoveFrom(m);
    int behind = from - PawnPush[us];
    if (behind >= 0 && behind < 64 && (pawnsOnSeventh(p, us) & SquareBB(behind))) return true;
    Bitboard enemyPieces = p.colourBB[us ^ 1] & ~p.pieceBB[Pawn];
    return discoveredTargets(p, from, MoveTo(m), us, enemyPieces) != 0;
}

} // namespace

int quiesce(SearchContext& c, int alpha, int beta, int qd, int nodeType) {
    Position& pos = c.position;
    const int ply = pos.ply - c.rootPly;
    // Never reached from the main search (it stops at MaxPly); keeps every record in range.
    if (ply > MaxPly) return evaluatePosition(pos, alpha, beta, nullptr);
    const int us = pos.sideToMove;

    // Step 1.
    PlyRecord& rec = c.stack[ply];
    rec.pv[0] = NoMove;
    rec.pvLength = 1;
    rec.evasionCount = 0;
    const int pieces = pos.pieceCount[White] + pos.pieceCount[Black];
    const int dm = pieces >= 4 ? QuiescenceDeltaMargin : QuiescenceDeltaMarginFewPieces;
    const bool inCheck = pos.checkers != 0;

    // Step 2.
    if (inCheck && QuickMateTest(pos, pos.checkers, 0, us)) return ply - MateValue;

    // Step 3. Mate distance.
    alpha = std::max(alpha, ply - MateValue);
    if (alpha >= std::min(MateValue - 1 - ply, beta)) return alpha;
    const int alphaEntry = alpha;

    // Step 4.
    const int mode = quiescenceMode(c, inCheck, qd, rec.checkClass);

    // Step 5. Table probe.
    int ttScore = NoScore, ttEval = NoScore;
    if (ttProbeQuiescence(pos.key, alpha, beta, tableDepth(qd), ply, ttScore, ttEval))
        return ttScore;

    // Step 6. Static evaluation.
    int e, tableEval;
    bool fromTable = ttEval != NoScore;
    if (fromTable) {
        e = tableEval = ttEval;
    } else {
        bool lazy = false;
        e = evaluatePosition(pos, alpha - dm, beta, &lazy);
        tableEval = lazy ? NoScore : e;
    }

    // Step 7. Stand pat.
    if (mode != 0) {
        if (e >= beta) {
            if (!fromTable && qd == 0)
                ttStore(pos.key, alpha, beta, NoMove, e, -2, ply, int(c.searchAge), tableEval, 0);
            return e;
        }
        alpha = std::max(alpha, e);
    }

    // Steps 8-9. Without checks: a mate in one after a near-forced parent, and the delta cut.
    const bool checksAllowed = c.switches.qsearchChecks && qd <= 2;
    if (!checksAllowed) {
        int parentEvasions = ply > 0 ? c.stack[ply - 1].evasionCount : 0;
        Move mate = NoMove;
        if (!inCheck && parentEvasions >= 1 && parentEvasions <= 3 &&
            findMateThreat(pos, us, mate)) {
            rec.pv[0] = mate;
            return MateValue - 1 - ply;
        }
        if (e + PieceValue[Queen] < alpha - dm && !pawnsOnSeventh(pos, us)) {
            rec.pvLength = 0;
            return e;
        }
    }

    int best = mode == 0 ? ply - MateValue : NoScore;
    Move bestMove = NoMove;
    // Step 10. At the ply limit nothing is searched.
    if (ply < MaxPly) {
        // Step 11. Moves by mode.
        ScoredMoveList list;
        list.count = 0;
        int prev1 = ply > 0 ? previousPieceTo(c.stack[ply - 1]) : 0;
        if (mode == 0) {
            GenerateEvasions(pos, list);
            if (list.count == 0) return ply - MateValue;
            rec.evasionCount = list.count;
            scoreEvasions(list, pos, c.history, prev1);
        } else if (mode == 1) {
            MoveList all;
            GenerateEvasions(pos, all);
            rec.evasionCount = all.count;
            limitedEvasions(pos, list);
            scoreCaptures(list, pos);
        } else {
            GenerateMoves(pos, list, pos.colourBB[us], pos.colourBB[us ^ 1], PawnCapturesOnly, true,
                          false);
            GenerateMoves(pos, list, pos.Pieces(us, Pawn), ~pos.occupied & PromotionRows,
                          PawnPushesOnly, false, true);
            scoreCaptures(list, pos);
        }
        SortMoves(list, 0, list.count);

        // Step 12. Generated moves, quiet checks, then the deferred ones.
        const CheckSquares checkSquares = PrepareCheckSquares(pos);
        const int previousTo =
            ply > 0 && isRealMove(c.stack[ply - 1].move) ? MoveTo(Move(c.stack[ply - 1].move)) : -1;
        Move deferred[MaxQuiescenceDeferred];
        int deferredCount = 0;
        MoveList checks;
        for (int phase = 0; phase < 3; ++phase) {
            const MoveList* source = &list;
            if (phase == 1) {
                if (!checksAllowed || inCheck) continue;
                GenerateChecks(pos, ~pos.occupied, checkSquares, checks);
                source = &checks;
            }
            int count = phase == 2 ? deferredCount : source->count;
            for (int i = 0; i < count; ++i) {
                Move m = phase == 2 ? deferred[i] : source->moves[i];
                Bitboard ch = GivesCheck(pos, m, checkSquares);
                int cv = capturedValue(pos, m);
                int threshold = alpha - dm;
                int k = 0;
                if (!inCheck) {
                    if (!IsLegal(pos, m)) continue;
                    if (ch) {
                        if (phase < 2 && ch == SquareBB(MoveTo(m)) &&
                            !seeAtLeast(pos, m, QuiescenceSafeExchange)) {
                            if (qd == 0 && worthDeferring(pos, m, cv) &&
                                deferredCount < MaxQuiescenceDeferred)
                                deferred[deferredCount++] = m;
                            continue;
                        }
                        k = checkClass(pos, m, e, threshold);
                        if (phase >= 1 && (!checksAllowed || k == 0 || (k == 1 && qd > 0)) &&
                            !(phase == 2 && deltaWorthy(pos, m, e, threshold, cv)))
                            continue;
                    } else {
                        bool worthy = deltaWorthy(pos, m, e, threshold, cv);
                        bool safe = phase == 2 || seeAtLeast(pos, m, QuiescenceSafeExchange);
                        if (!worthy) continue;
                        if (!safe) {
                            if (qd == 0 && (cv > PieceValue[Pawn] || pieces <= 2) &&
                                deferredCount < MaxQuiescenceDeferred)
                                deferred[deferredCount++] = m;
                            continue;
                        }
                        if (mode == 3 && MoveTo(m) != previousTo && cv != 0) continue;
                    }
                }

                // Search m.
                ++c.nodes;
                ++c.qnodes;
                const Position saved = pos;
                PieceCode mover = pos.board[MoveFrom(m)];
                UndoInfo undo;
                MakeMove(pos, m, ch, undo, &transpositionTable);
                recordMove(rec, mover, m, undo);
                c.stack[ply + 1].checkClass = k;
                int v = -quiesce(c, -beta, -alpha, qd + 2, nodeType);
                pos = saved;
                if (v <= best) continue;
                best = v;
                if (v <= alpha) continue;
                alpha = v;
                bestMove = m;
                if (nodeType == PvNode)
                    rec.pvLength =
                        buildLine(rec.pv, m, c.stack[ply + 1].pv, c.stack[ply + 1].pvLength);
                if (v >= beta || v == MateValue - 1 - ply) {
                    if (qd == 0)
                        ttStore(pos.key, alphaEntry, beta, nodeType == PvNode ? m : NoMove, v, -2,
                                ply, int(c.searchAge), tableEval, 0);
                    return v;
                }
            }
        }
    }

    // Step 13.
    int result = mode == 0 ? best : alpha;
    if (qd == 0)
        ttStore(pos.key, alphaEntry, beta, nodeType == PvNode ? bestMove : NoMove, result, -2, ply,
                int(c.searchAge), tableEval, 0);
    return result;
}

} // namespace corvid
