// The main search node: principal variation search with null windows over the staged moves,
// with the extension, reduction and pruning rules decided per move.
#include "chess/make_move.h"
#include "eval/evaluate.h"
#include "platform/clock.h"
#include "search/draw_detection.h"
#include "search/mate_detection.h"
#include "search/node_state.h"
#include "search/reduction_table.h"
#include "search/root_bookkeeping.h"
#include "search/search.h"
#include "search/search_info.h"
#include "search/search_report.h"
#include "search/search_threads.h"
#include "search/selectivity.h"
#include "search/threat.h"

#include <algorithm>
#include <cstdlib>

namespace corvid {

namespace {

// An excluded-move search keeps its own table entries.
uint64_t excludedMoveKey(uint64_t key, Move excluded) {
    uint64_t m = excluded;
    return key ^ (((((((m << 14) ^ m) << 17) ^ m) << 15) ^ m));
}

bool timedSearch() {
    return searchInfo.ponderState.load(std::memory_order_relaxed) != PonderState::Pondering &&
           searchInfo.searchState.load(std::memory_order_relaxed) != SearchState::Analyzing;
}

// Step 1: a pending stop (honoured once the first iteration is done) or a missed ponder.
bool stopRequested(const SearchContext& c) {
    if (c.helperStop) return c.helperStop->load(std::memory_order_relaxed);
    if (searchInfo.ponderState.load(std::memory_order_relaxed) == PonderState::PonderMiss)
        return true;
    if (c.iterationDepth <= 2) return false;
    if (searchInfo.stopRequest.load(std::memory_order_relaxed) != StopRequest::None) return true;
    return c.nodeLimit > 0 && c.nodes + c.helperNodesSeen >= c.nodeLimit;
}

// Step 2: the clock, read every TimeCheckInterval nodes.
bool outOfTime(SearchContext& c) {
    c.nextCheck = c.nodes + TimeCheckInterval;
    if (c.helperStop) return false;
    // A node limit counts the helpers' nodes too, as of the last check.
    if (c.nodeLimit > 0) c.helperNodesSeen = helperNodes();
    int64_t now = millisecondClock();
    if (searchInfo.stopRequest.load(std::memory_order_relaxed) != StopRequest::Abort &&
        now - c.lastDisplayRefresh >= DisplayRefreshMs) {
        c.lastDisplayRefresh = now;
        refreshSearchDisplay(c);
    }
    // The first iteration always completes, so there is always a searched move to play.
    if (!timedSearch() || c.iterationDepth <= 2) return false;
    double a = std::min(c.prevInstability, InstabilityCap);
    double b = c.instability;
    double budget =
        std::min(1.0, a / 6 + b / 4) * searchInfo.extraTime.load() + searchInfo.targetTime.load();
    int64_t elapsed = now - c.searchStart;
    if (double(elapsed) > budget * 1000) return true;
    return elapsed > SingleMoveStopMs && c.rootMoves.count == 1;
}

int firstChildType(int nodeType) {
    return nodeType == PvNode ? PvNode : nodeType == CutNode ? AllNode : CutNode;
}

// Whether the singular verification shows the table move standing alone. May abort.
int singularTest(SearchContext& c, const NodeState& n, Move m, bool& singular) {
    singular = false;
    if (!c.switches.singularExtension || m != n.ttMove || m != n.tt.move || !n.tt.found ||
        n.tt.score == NoScore || n.ply == 0 || n.excluded || n.depth < SingularMinDepth ||
        n.tt.depth < n.depth - SingularTableDepthSlack || n.inCheck)
        return 0;
    if (n.tt.hints & HintSingular) {
        singular = true;
        return 0;
    }
    if (n.tt.bound == BoundUpper || n.depth < SingularSearchMinDepth) return 0;
    int sb = std::max(n.tt.score - 3 * n.tt.depth / 2 - SingularMargin, -MateValue);
    PlyRecord& rec = c.stack[n.ply];
    int threatClass = rec.threatClass;
    rec.excludedMove = m;
    int v = searchNode(c, sb - 1, sb, (n.depth / 2) & ~1, false, CutNode);
    rec.excludedMove = NoMove;
    // The verification searched from this record: restore what the node had written.
    rec.threatClass = threatClass;
    rec.pv[0] = NoMove;
    rec.pvLength = 1;
    if (v == AbortScore) return AbortScore;
    singular = v < sb;
    return 0;
}

// The mate in one the side to move may answer with before any move is tried.
Move mateBeforeMoves(SearchContext& c, const NodeState& n) {
    const Position& pos = c.position;
    if (!c.switches.mateThreats || n.ply < 1 || n.excluded) return NoMove;
    if (n.ttMove && !(n.tt.found && n.tt.depth <= 2 && n.depth > 2)) return NoMove;
    Move threat = c.stack[n.ply - 1].mateThreat;
    if (threat && isStillMating(pos, n.us, threat)) return threat;
    Move mate = NoMove;
    if (n.depth > 2 && pos.pieceCount[n.us] > 1 && pos.pieceCount[n.us] > pos.minorCount[n.us] &&
        findMateMove(pos, 1, mate) > 0)
        return mate;
    return NoMove;
}

} // namespace

int searchNode(SearchContext& c, int alpha, int beta, int depth, bool nullAllowed, int nodeType) {
    Position& pos = c.position;
    const int ply = pos.ply - c.rootPly;

    // Step 1. Stop tests: once a stop reached the search, every node returns at once.
    if (c.aborted || stopRequested(c)) {
        c.aborted = true;
        return AbortScore;
    }

    // Step 2. Time test.
    if (c.nodes > c.nextCheck && depth > 2 && outOfTime(c)) {
        c.aborted = true;
        return AbortScore;
    }

    // Step 3. Ply limit, tested before any record of the stack is touched.
    if (ply >= MaxPly) return evaluatePosition(pos, alpha, beta, nullptr);

    // Step 4. Reset the record.
    PlyRecord& rec = c.stack[ply];
    rec.pv[0] = NoMove;
    if (ply == 0 && c.rootLines[c.pvIndex].pvLength > 0) rec.pv[0] = c.rootLines[c.pvIndex].pv[0];
    rec.pvLength = 1;
    rec.repetitionDamped = 0;
    c.stack[ply + 2].killers[0] = c.stack[ply + 2].killers[1] = NoMove;
    c.selDepth = std::max(c.selDepth, ply);

    NodeState n;
    n.ply = ply;
    n.depth = depth;
    n.nodeType = nodeType;
    n.us = pos.sideToMove;
    n.them = n.us ^ 1;
    n.inCheck = pos.checkers != 0;

    // Step 5. Key.
    n.excluded = rec.excludedMove;
    n.key = n.excluded ? excludedMoveKey(pos.key, n.excluded) : pos.key;

    // Step 6. Mate distance.
    alpha = std::max(alpha, ply - MateValue);
    if (alpha >= std::min(beta, MateValue - 1 - ply)) return alpha;
    const int alphaEntry = alpha;

    // Step 7. Table probe.
    bool hit = ttProbe(n.key, alpha, beta, depth, ply, int(c.searchAge), n.tt);
    n.ttMove = n.tt.found && isRealMove(n.tt.move) && IsPseudoLegal(pos, n.tt.move, n.us, false)
                   ? n.tt.move
                   : NoMove;
    int prev1 = ply >= 1 ? previousPieceTo(c.stack[ply - 1]) : 0;
    int prev2 = ply >= 2 && prev1 ? previousPieceTo(c.stack[ply - 2]) : 0;
    if (hit && n.tt.score != NoScore && nodeType != PvNode && ply > 2 &&
        (!n.excluded || n.excluded != n.tt.move)) {
        rec.pv[0] = n.tt.move;
        rec.pv[1] = TableLineEnd;
        rec.pvLength = 2;
        if (!n.excluded && n.ttMove && IsQuietMove(pos, n.ttMove) && n.tt.bound != BoundUpper)
            updateQuietStats(c.history, rec.killers, pos, n.ttMove, depth, ply, prev1, prev2,
                             nullptr, 0);
        return n.tt.score;
    }

    // Step 8. Static evaluation.
    if (n.tt.found && n.tt.staticEval != NoScore) {
        n.staticEval = n.tableEval = n.tt.staticEval;
    } else {
        bool lazy = false;
        n.staticEval =
            evaluatePosition(pos, alpha - StaticEvalLazyBelow, beta + StaticEvalLazyAbove, &lazy);
        n.tableEval = lazy ? NoScore : n.staticEval;
    }
    rec.staticEval = n.staticEval;
    rec.materialBalance = pos.material[n.us] - pos.material[n.them];
    n.improving = ply >= 2 && n.staticEval > c.stack[ply - 2].staticEval;
    n.threatened =
        (ply > 1 && c.stack[ply - 1].pawnTo7th) || pawnsOnSeventh(pos, n.them) || rec.mateThreat;

    // Step 9. Pruning value.
    n.evalPrime = n.staticEval;
    if (n.tt.found && n.tt.score != NoScore &&
        (n.tt.bound == BoundExact || (n.tt.bound == BoundLower && n.tt.score > n.staticEval) ||
         (n.tt.bound == BoundUpper && n.tt.score < n.staticEval)))
        n.evalPrime = n.tt.score;
    n.alpha = alpha;
    n.beta = beta;

    // Step 10. Pre-move pruning: razoring, reverse futility, null move, ProbCut.
    if (!n.inCheck && ply > 0 && nullAllowed && nodeType != PvNode) {
        int v = preMovePruning(c, n);
        if (v != NoScore) return v;
    }

    // Step 11. Internal iterative deepening.
    if (!n.ttMove && !n.excluded && ply > 0 && depth >= depth / 4 + IidMinDepth &&
        (nodeType != AllNode || n.evalPrime > alpha)) {
        int v =
            searchNode(c, alpha, beta, (depth - depth / 4 - IidReduction) & ~1, false, nodeType);
        if (v == AbortScore) return AbortScore;
        Move found = rec.pv[0];
        if (isRealMove(found) && IsPseudoLegal(pos, found, n.us, false)) n.ttMove = found;
        rec.pv[0] = NoMove;
        rec.pvLength = 1;
    }

    // Step 12. A mate in one ends the node before any move is generated.
    if (Move mate = mateBeforeMoves(c, n)) {
        rec.pv[0] = mate;
        rec.pvLength = 1;
        int s = MateValue - 1 - ply;
        ttStore(n.key, -AspirationInfinite, AspirationInfinite, mate, s, depth, ply,
                int(c.searchAge), n.tableEval, 0);
        return s;
    }

    // Step 13. The move loop.
    MovePicker picker;
    int rootIndex = c.pvIndex;
    if (ply > 0)
        InitMovePicker(picker, pos, c.history, rec.killers, n.ttMove, n.excluded, prev1, prev2);
    rec.evasionCount = ply > 0 ? picker.evasionCount : n.inCheck ? c.rootMoves.count : 0;
    const bool singleEvasion = n.inCheck && rec.evasionCount == 1 && depth >= 1;
    const CheckSquares checkSquares = PrepareCheckSquares(pos);
    const int pieces = pos.pieceCount[White] + pos.pieceCount[Black];
    const bool futileNode =
        nodeType != PvNode && ply > 1 && depth <= FutilityMaxDepth && alpha > -MateThreshold &&
        !n.inCheck &&
        n.staticEval <
            alpha - (pieces >= FutilityPieceThreshold ? FutilityMargin : FutilityMarginFewPieces);
    const bool mayDamp = ply == 0 || (ply == 1 && !c.stack[0].repetitionDamped);
    PlyRecord& child = c.stack[ply + 1];

    int movesTried = 0; // legal moves counted, whatever became of them
    int searched = 0;   // moves made and scored
    Move tried[MaxTriedMoves];
    int triedCount = 0;
    int best = NoScore;
    Move bestMove = NoMove;
    bool singularMove = false;
    bool mateThreatFound = false;

    for (;;) {
        Move m;
        int stage;
        if (ply == 0) {
            if (rootIndex >= c.rootMoves.count) break;
            m = c.rootMoves.moves[rootIndex++];
            stage = RootStage;
        } else {
            m = NextMove(picker);
            if (m == NoMove) break;
            stage = int(picker.moveStage);
        }

        // Per-move step 1: the picker leaves out the excluded move and illegal ones.

        // Per-move step 2. Count every legal move.
        ++movesTried;
        if (ply == 0) {
            c.rootMoveNumber = movesTried;
            c.currentRootMove = m;
        } else if (ply == 1 && !n.excluded) {
            c.plyOneMoveNumber = movesTried;
        }

        // Per-move step 3. Threat class.
        int threatClass = 0;
        if (stage == BadCaptureStage)
            threatClass = -1;
        else if (depth > 1 || (ply > 0 && c.stack[ply - 1].threatClass > 1))
            threatClass = threatClassOf(pos, m);
        rec.threatClass = threatClass;

        // Per-move step 4.
        const Bitboard checks = GivesCheck(pos, m, checkSquares);
        const int captured = capturedValue(pos, m);
        const PieceCode mover = pos.board[MoveFrom(m)];

        // Per-move step 5. Futility.
        if (futileNode && !checks && threatClass < 3 && stage >= RefutationStage &&
            stage <= BadCaptureStage) {
            if (best == NoScore) best = alphaEntry;
            continue;
        }

        // Per-move step 6. Singular test, extension, tactical flag, probe flag, pruning.
        bool singular = false;
        if (singularTest(c, n, m, singular) == AbortScore) return AbortScore;
        if (m == n.ttMove) singularMove = singular;
        n.alpha = alpha;
        int ext = extensionFor(c, n, m, checks, threatClass, captured, singular);
        rec.pawnTo7th = threatClass >= 4 && TypeOf(mover) == Pawn;
        bool tactical = isTactical(c, n, m, stage, ext, checks, threatClass);
        bool probe = c.switches.mateThreats && depth >= 3 && !checks &&
                     !(n.tt.hints & HintNoMateThreat) && pos.pieceCount[n.us] > 1 &&
                     pos.pieceCount[n.us] > pos.minorCount[n.us];
        bool pruned = lateMovePruned(c, n, m, stage, tactical, checks, threatClass, triedCount);
        ++c.nodes;

        // Per-move step 7. A pruned move is still made when a mate threat may change its fate.
        Move ourThreat = ply > 0 ? c.stack[ply - 1].mateThreat : NoMove;
        if (pruned && !probe && !ourThreat) {
            best = std::max(best, alpha);
            continue;
        }

        // Per-move step 8. Make the move.
        const Position saved = pos;
        UndoInfo undo;
        MakeMove(pos, m, checks, undo, &transpositionTable);
        recordMove(rec, mover, m, undo);
        child.mateThreat = NoMove;

        // Per-move step 9. Mate threats after the move.
        bool threatNow = false;
        if (c.switches.mateThreats) {
            Move threat = NoMove;
            if (probe && findMateThreat(pos, n.us, threat)) {
                child.mateThreat = threat;
                threatNow = true;
            } else if (ourThreat && isStillMating(pos, n.us, ourThreat)) {
                child.mateThreat = ourThreat;
                threatNow = true;
            }
        }
        if (threatNow) {
            ext = std::max(ext, MateThreatExtension);
            mateThreatFound = true;
            tactical = true;
            pruned = false;
        }

        // Per-move step 10. New depth.
        const int newDepth = depth - 2 + (c.switches.extensions ? ext : 0);
        rec.extension = ext;

        // Per-move step 11. Repetition damping near the root.
        int a = alpha, b = beta;
        bool damped = mayDamp && repetitionCount(c, pos) > 0;
        if (damped) {
            if (std::abs(alpha) < DampingLimit) a = 4 * alpha / 3 - 1;
            if (std::abs(beta) < DampingLimit) b = 4 * beta / 3 + 1;
        }
        rec.repetitionDamped = damped;

        // Per-move step 12. Score.
        int v;
        bool searchAnyway = false;
        if (depth > 0 && newDepth < 2) {
            bool forcing = (checks || threatClass >= 2 || threatNow) &&
                           n.staticEval + captured < beta + SearchAnywayMargin;
            bool lone = !forcing && singleEvasion &&
                        ((ply > 1 && c.stack[ply - 2].threatClass >= 2) ||
                         n.staticEval + captured > alpha - SearchAnywayMargin);
            searchAnyway = forcing || lone;
        }
        if (isDraw(c, pos, c.rootPly)) {
            v = 0;
            child.pv[0] = DrawLineEnd;
            child.pvLength = 1;
        } else if (pruned) {
            v = a;
        } else if (newDepth > 1 || searchAnyway) {
            c.setKey(pos.ply, pos.key);
            if (ply == 0 && nodeType == PvNode) {
                v = searchRootMove(c, m, alpha, beta, a, b, newDepth, searched == 0, damped);
                if (v == AbortScore) return AbortScore;
            } else if (searched == 0) {
                v = searchNode(c, -b, -a, newDepth, true, firstChildType(nodeType));
                if (v == AbortScore) return AbortScore;
                v = -v;
            } else {
                int r = lateMoveReduction(c, n, m, stage, tactical, checks, threatClass, newDepth,
                                          triedCount);
                v = searchNode(c, -a - 1, -a, std::max(newDepth - r, 0), true, CutNode);
                if (v == AbortScore) return AbortScore;
                v = -v;
                if (v > a && r > 0) {
                    v = searchNode(c, -a - 1, -a, newDepth, true, AllNode);
                    if (v == AbortScore) return AbortScore;
                    v = -v;
                }
                if (v > a && v < b) {
                    v = searchNode(c, -b, -a, newDepth, false,
                                   nodeType == PvNode ? PvNode : AllNode);
                    if (v == AbortScore) return AbortScore;
                    v = -v;
                }
            }
        } else {
            v = -quiesce(c, -b, -a, 0, nodeType == PvNode ? PvNode : AllNode);
        }
        if (damped && std::abs(v) < DampingLimit) v = v * 3 / 4;

        // Per-move step 13. Undo.
        pos = saved;

        // Per-move step 14. Moves searched beyond the late-move limit get no history penalty.
        if (triedCount < MaxTriedMoves) {
            tried[triedCount] = triedCount >= lateMoveLimit(n.improving, depth) ? NoMove : m;
            ++triedCount;
        }
        ++searched;

        // Per-move step 15.
        best = std::max(best, v);
        if (v > alpha) {
            bestMove = m;
            if (ply == 0 && nodeType == PvNode) rootMoveRaisedAlpha(c, m, v, beta);
            if (v >= beta || v == MateValue - 1 - ply) {
                // Per-move step 16. Cut-off.
                if (!n.excluded)
                    updateQuietStats(c.history, rec.killers, pos, m, depth, ply, prev1, prev2,
                                     tried, triedCount);
                if (ply > 0 && !rec.repetitionDamped) {
                    int hints = (m == n.ttMove && singularMove ? HintSingular : 0) |
                                (n.tt.hints & HintNoMateThreat);
                    ttStore(n.key, alphaEntry, beta, m, v, depth, ply, int(c.searchAge),
                            n.tableEval, hints);
                }
                if (ply > 0) {
                    rec.pv[0] = m;
                    rec.pvLength = 1;
                } else {
                    rec.pvLength = buildLine(rec.pv, m, child.pv, child.pvLength);
                }
                return v;
            }
            alpha = v;
            if (nodeType == PvNode) rec.pvLength = buildLine(rec.pv, m, child.pv, child.pvLength);
        }

        // Per-move step 17. Alternative-move search after a first move that failed.
        if (searched == 1 && v < beta && depth >= AlternativeMoveMinDepth && !n.excluded &&
            pieces > 0 && (nodeType == CutNode || (ply == 0 && c.rootFailState == 2))) {
            child.excludedMove = m;
            child.mateThreat = NoMove;
            int bound = std::max(best, alpha);
            // The next record searches the unchanged position: its key goes in too.
            ++pos.ply;
            c.setKey(pos.ply, pos.key);
            int w = searchNode(c, bound, bound + 1, ((2 * depth / 3) & ~1) - 2, false, CutNode);
            --pos.ply;
            child.excludedMove = NoMove;
            if (w == AbortScore) return AbortScore;
            Move alternative = child.pv[0];
            if (isRealMove(alternative)) {
                if (ply == 0)
                    moveToFront(c.rootMoves, alternative, rootIndex);
                else
                    PromoteNextMove(picker, alternative);
                if ((stage == HashStage || stage == CaptureStage) &&
                    IsPseudoLegal(pos, alternative, n.us, true))
                    updateKillers(rec.killers, alternative);
            }
        }
    }

    // Step 14. End of node.
    if (movesTried == 0) {
        if (n.excluded)
            best = alpha;
        else if (n.inCheck)
            best = ply - MateValue;
        else {
            best = 0;
            rec.pv[0] = DrawLineEnd;
            rec.pvLength = 1;
        }
    } else if (best == NoScore) {
        best = alphaEntry;
    }
    if (bestMove && !n.excluded)
        updateQuietStats(c.history, rec.killers, pos, bestMove, depth, ply, prev1, prev2, tried,
                         triedCount);
    if (!rec.repetitionDamped && (ply > 0 || c.pvIndex == 0)) {
        int hints = (bestMove && bestMove == n.ttMove && singularMove ? HintSingular : 0) |
                    (!mateThreatFound && depth > 2 ? HintNoMateThreat : 0);
        ttStore(n.key, alphaEntry, beta, bestMove, best, depth, ply, int(c.searchAge), n.tableEval,
                hints);
    }
    return best;
}

} // namespace corvid
