// Iterative deepening at the root: the root move list, the aspiration windows of each line, the
// root bookkeeping of the node, and the stop rules between iterations.
#include "search/root_search.h"

#include "chess/make_move.h"
#include "platform/clock.h"
#include "search/reduction_table.h"
#include "search/root_bookkeeping.h"
#include "search/search.h"
#include "search/search_info.h"
#include "search/search_report.h"
#include "search/search_threads.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace corvid {

namespace {

bool isMoveOfList(const MoveList& list, Move m) {
    for (int i = 0; i < list.count; ++i)
        if (list.moves[i] == m) return true;
    return false;
}

double secondsSince(int64_t start) { return double(millisecondClock() - start) / 1000.0; }

// The line of the current slot to the protocol.
void sendLine(SearchContext& c, int bound) {
    reportSearchLine(c, bound);
    c.lineReported = true;
    if (c.pvIndex == 0) c.reportedMove = c.rootLines[0].move;
}

// A line found during the search. Several lines are sent together after each iteration instead,
// best first, so that a front end sees each depth's lines once and in order.
void report(SearchContext& c, int bound) {
    if (linesPerIteration(c) == 1) sendLine(c, bound);
}

// After an iteration with several lines: the slots in score order (a later slot searched fewer
// moves and can only come out ahead through search noise), their moves at the front of the list
// in the same order, each line sent.
void sortAndSendLines(SearchContext& c, int lines) {
    for (int i = 1; i < lines; ++i)
        for (int k = i; k > 0 && c.rootLines[k].score > c.rootLines[k - 1].score; --k)
            std::swap(c.rootLines[k], c.rootLines[k - 1]);
    for (int i = 0; i < lines; ++i) {
        moveToFront(c.rootMoves, c.rootLines[i].move, i);
        c.pvIndex = i;
        sendLine(c, ExactBound);
    }
    c.pvIndex = 0;
}

int damp(int v, bool damped) { return damped && std::abs(v) < DampingLimit ? v * 3 / 4 : v; }

void recordSlot(SearchContext& c, Move m, int score, const Move* line, int length) {
    RootLine& slot = c.rootLines[c.pvIndex];
    slot.move = m;
    slot.score = score;
    slot.depth = c.iterationDepth;
    slot.pvLength = std::clamp(length, 0, MaxPv);
    std::memcpy(slot.pv, line, sizeof(Move) * size_t(slot.pvLength));
}

// The legal root moves: captures by victim and attacker first, then quiet moves by the cheapest
// mover, generation order within ties.
void buildRootMoves(SearchContext& c) {
    const Position& root = c.rootPosition;
    int us = root.sideToMove;
    MoveList generated;
    if (root.checkers) {
        GenerateEvasions(root, generated);
    } else {
        GenerateMoves(root, generated, root.colourBB[us], ~root.colourBB[us], PawnBoth, true, true);
        GenerateCastling(root, generated);
    }
    ScoredMoveList& moves = c.rootMoves;
    moves.count = 0;
    moves.allPromotions = 0;
    for (int i = 0; i < generated.count; ++i)
        if (root.checkers || IsLegal(root, generated.moves[i])) moves.Add(generated.moves[i]);
    // Only the moves the front end named, unless none of them can be played here.
    if (c.searchMoves.count > 0) {
        int kept = 0;
        for (int i = 0; i < moves.count; ++i)
            if (isMoveOfList(c.searchMoves, moves.moves[i])) moves.moves[kept++] = moves.moves[i];
        if (kept > 0) moves.count = kept;
    }
    scoreCaptures(moves, root);
    for (int i = 0; i < moves.count; ++i)
        if (IsCastling(root, moves.moves[i])) moves.keys[i] = -PieceValue[King];
    SortMoves(moves, 0, moves.count);
}

// Runs the aspiration windows of the current slot at the current depth. Returns the last
// search's result (AbortScore when it was stopped).
int searchSlot(SearchContext& c, int previous) {
    int i = c.pvIndex;
    AspirationWindow w = firstAspirationWindow(previous, c.iterationDepth);
    int v = 0;
    while (w.step < 4) {
        c.position = c.rootPosition;
        v = searchNode(c, w.alpha, w.beta, c.iterationDepth, false, PvNode);
        if (v == AbortScore) return v;
        RootLine& slot = c.rootLines[i];
        const PlyRecord& root = c.stack[0];
        slot.score = v;
        slot.pvLength = std::clamp(root.pvLength, 0, MaxPv);
        std::memcpy(slot.pv, root.pv, sizeof(Move) * size_t(slot.pvLength));
        if (slot.pvLength > 0 && isMoveOfList(c.rootMoves, slot.pv[0])) slot.move = slot.pv[0];
        if (v > w.alpha) {
            moveToFront(c.rootMoves, slot.move, i);
            if (v < w.beta) break;
        }
        w = widenAspirationWindow(w, previous, v);
    }
    return v;
}

} // namespace

AspirationWindow firstAspirationWindow(int s, int depth) {
    int step = std::abs(s) >= MateThreshold                                                 ? 3
               : depth < AspirationFirstNarrowDepth || std::abs(s) > AspirationSkipTwoScore ? 2
               : std::abs(s) > AspirationSkipOneScore                                       ? 1
                                                                                            : 0;
    AspirationWindow w{0, 0, step};
    int delta =
        step == 0   ? (std::abs(s) > AspirationWideScore ? AspirationNarrowWide : AspirationNarrow)
        : step == 1 ? (std::abs(s) > AspirationWideScore ? AspirationMediumWide : AspirationMedium)
        : step == 2 ? AspirationFull
                    : AspirationInfinite;
    w.alpha = step < 2 ? s - delta : -delta;
    w.beta = step < 2 ? s + delta : delta;
    w.alpha = std::max(w.alpha, -AspirationInfinite);
    w.beta = std::min(w.beta, AspirationInfinite);
    return w;
}

AspirationWindow widenAspirationWindow(AspirationWindow w, int s, int v) {
    bool wide = std::abs(s) > AspirationWideScore;
    const int delta[4] = {wide ? AspirationNarrowWide : AspirationNarrow,
                          wide ? AspirationMediumWide : AspirationMedium, AspirationFull,
                          AspirationInfinite};
    bool failHigh = v >= w.beta;
    ++w.step;
    if (w.step >= 4) return w;
    if (failHigh)
        w.beta = w.step < 2 ? v + delta[w.step] : delta[w.step];
    else
        w.alpha = w.step < 2 ? v - delta[w.step] : -delta[w.step];
    w.alpha = std::max(w.alpha, -AspirationInfinite);
    w.beta = std::min(w.beta, AspirationInfinite);
    return w;
}

int linesPerIteration(const SearchContext& c) {
    bool analysing = searchInfo.searchState.load() == SearchState::Analyzing;
    int lines = c.multiPv > 1 ? c.multiPv : analysing ? c.analysisLines : 1;
    return std::clamp(lines, 1, MaxRootLines);
}

namespace {
bool timedSearch() {
    return searchInfo.ponderState.load() != PonderState::Pondering &&
           searchInfo.searchState.load() != SearchState::Analyzing;
}
} // namespace

bool stopBetweenIterations(const SearchContext& c, int lastResult) {
    if (!timedSearch() || c.iterationDepth < StopRulesMinDepth) return false;
    if (lastResult == AbortScore || c.rootMoves.count == 1) return true;
    double budget = std::min(1.0, c.prevInstability / 6.0) * searchInfo.extraTime.load() +
                    searchInfo.targetTime.load();
    if (FirstMoveTimeFactor * c.firstMoveTime > budget - secondsSince(c.iterationStart))
        return true;
    if (secondsSince(c.searchStart) > RecaptureStopShare * searchInfo.targetTime.load()) {
        Move best = c.rootLines[0].move;
        PieceCode victim = best ? c.rootPosition.board[MoveTo(best)] : Empty;
        bool takesPiece = victim != Empty && ColourOf(victim) != c.rootSide &&
                          PieceValue[TypeOf(victim)] > PieceValue[Pawn];
        if (takesPiece && c.bestMoveChanges == 0) return true;
    }
    return false;
}

int searchRootMove(SearchContext& c, Move m, int alpha, int beta, int a, int b, int newDepth,
                   bool first, bool damped) {
    PlyRecord& root = c.stack[0];
    const PlyRecord& child = c.stack[1];
    const int d = c.iterationDepth;
    if (first) {
        int v = searchNode(c, -b, -a, newDepth, true, PvNode);
        if (v == AbortScore) return AbortScore;
        v = -v;
        int s = damp(v, damped);
        int previous = c.previousScores[0];
        bool hardFail = s < previous - RootFailHard;
        bool softFail = s < previous - RootFailSoft || s <= alpha;
        c.rootFailState = hardFail ? 2 : softFail ? 1 : 0;
        if (hardFail)
            c.instability += 3;
        else if (softFail)
            c.instability += 1;
        else if (s >= beta && c.instability < 2)
            c.instability += 1;
        c.firstMoveTime = secondsSince(c.iterationStart);
        Move line[MaxPv];
        int length = buildLine(line, m, child.pv, child.pvLength);
        recordSlot(c, m, s, line, length);
        if (s <= alpha && d > 2) {
            report(c, UpperBound);
            showSearchLines(c, UpperBound);
        }
        return v;
    }
    int v = searchNode(c, -a - 1, -a, newDepth, true, CutNode);
    if (v == AbortScore) return AbortScore;
    v = -v;
    if (v <= a) return v;
    // A later move fails high: it becomes the line until the full window says otherwise.
    c.instability += 1;
    std::memcpy(c.savedRootPv, root.pv, sizeof(Move) * size_t(std::clamp(root.pvLength, 0, MaxPv)));
    c.savedRootPvLength = std::clamp(root.pvLength, 0, MaxPv);
    root.pv[0] = m;
    root.pvLength = 1;
    recordSlot(c, m, damp(v, damped), root.pv, 1);
    if (d > 5) {
        moveToFront(c.rootMoves, m, c.pvIndex + 1);
        report(c, LowerBound);
        showSearchLines(c, LowerBound);
    }
    if (v >= b) return v;
    v = searchNode(c, -b, -a, newDepth, false, PvNode);
    if (v == AbortScore) return AbortScore;
    v = -v;
    if (v <= a) {
        std::memcpy(root.pv, c.savedRootPv, sizeof(Move) * size_t(c.savedRootPvLength));
        root.pvLength = c.savedRootPvLength;
        Move previousBest = c.savedRootPvLength > 0 ? c.savedRootPv[0] : NoMove;
        recordSlot(c, previousBest, alpha, c.savedRootPv, c.savedRootPvLength);
        if (d > 5) refreshSearchDisplay(c);
    }
    return v;
}

void rootMoveRaisedAlpha(SearchContext& c, Move m, int v, int beta) {
    PlyRecord& root = c.stack[0];
    const PlyRecord& child = c.stack[1];
    root.pvLength = buildLine(root.pv, m, child.pv, child.pvLength);
    recordSlot(c, m, v, root.pv, root.pvLength);
    if (c.iterationDepth > 5) {
        int bound = v < beta ? ExactBound : LowerBound;
        report(c, bound);
        showSearchLines(c, bound);
    }
}

namespace {

// The counters, the stack, the histories and the lines, as every search starts them.
void resetSearch(SearchContext& c) {
    ClearHistory(c.history);
    c.aborted = false;
    c.nodes = c.qnodes = 0;
    c.nextCheck = 0;
    c.helperNodesSeen = 0;
    c.selDepth = 0;
    c.instability = c.prevInstability = c.bestMoveChanges = 0;
    c.reportedMove = NoMove;
    resetPlyRecords(c, 0);
    for (RootLine& line : c.rootLines) {
        line.move = NoMove;
        line.pvLength = 0;
        line.score = 0;
        line.depth = 0;
    }
    std::fill(std::begin(c.previousScores), std::end(c.previousScores), 0);
}

// Until an iteration has found better, the first root move stands.
void takeFirstRootMove(SearchContext& c) {
    c.rootLines[0].move = c.rootMoves.moves[0];
    c.rootLines[0].pv[0] = c.rootMoves.moves[0];
    c.rootLines[0].pvLength = 1;
}

void beginIteration(SearchContext& c, int d) {
    c.position = c.rootPosition;
    c.iterationDepth = d;
    c.setKey(c.rootPosition.ply, c.rootPosition.key);
    c.rootMoveNumber = 1;
    c.plyOneMoveNumber = 1;
    c.rootFailState = 0;
    c.firstMoveTime = 0;
    c.iterationStart = millisecondClock();
    c.lineReported = false;
    resetPlyRecords(c, 1);
}

// Helpers leave out iterations in blocks of a size and phase of their own, so that they spread
// over the depths instead of all searching the tree the main thread searches.
constexpr int SkipBlocks = 20;
constexpr int SkipSize[SkipBlocks] = {1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4};
constexpr int SkipPhase[SkipBlocks] = {0, 1, 0, 1, 2, 3, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 6, 7};

} // namespace

bool helperSkipsIteration(int helper, int depthPlies, int rootPly) {
    int i = (std::max(helper, 1) - 1) % SkipBlocks;
    return ((depthPlies + rootPly + SkipPhase[i]) / SkipSize[i]) % 2 != 0;
}

Move rootSearch(SearchContext& c, int maxDepth) {
    // Step 1. The stop request belongs to engine control, which clears it when it hands out a
    // request: clearing it here would lose a stop that came in between.
    buildReductionTable();
    c.switches = activePersonality.switches;
    c.nodeLimit = uint64_t(std::max<int64_t>(searchInfo.maxNodes.load(), 0));
    resetSearch(c);

    // Steps 2-3. Root moves.
    buildRootMoves(c);
    if (c.rootMoves.count == 0) return NoMove;
    takeFirstRootMove(c);

    // Steps 4-5.
    c.searchStart = millisecondClock();
    reporter().searchStarted();
    c.lastDisplayRefresh = c.searchStart;
    c.searchAge = ttNewSearchAge();
    c.rootPly = c.rootPosition.ply;
    c.position = c.rootPosition;
    const Position& root = c.rootPosition;
    c.nullMoveAllowed = root.pawnCount[White] + root.pawnCount[Black] > 0;
    startHelperSearch(c, maxDepth);

    // Step 6. Iterations.
    Move previousBest = NoMove;
    bool reportedFinal = false;
    for (int d = 2; d <= 2 * maxDepth && d < 2 * MaxPly; d += 2) {
        beginIteration(c, d);
        int lines = std::min(linesPerIteration(c), c.rootMoves.count);
        int lastResult = 0;
        for (int i = 0; i < lines; ++i) {
            c.pvIndex = i;
            lastResult = searchSlot(c, c.previousScores[i]);
        }
        c.pvIndex = 0;
        bool aborted = lastResult == AbortScore;
        if (!aborted && linesPerIteration(c) > 1) sortAndSendLines(c, lines);
        if (!aborted)
            for (int i = 0; i < lines; ++i) c.previousScores[i] = c.rootLines[i].score;

        if (d > 2 && c.rootLines[0].move != previousBest) ++c.bestMoveChanges;
        previousBest = c.rootLines[0].move;
        c.prevInstability = std::min(c.instability, InstabilityCap);
        c.instability = 0;

        bool stop = stopBetweenIterations(c, lastResult);
        if (!aborted) {
            int score = c.rootLines[0].score;
            if (lines == 1 && (score >= MateValue - d / 2 || score < d / 2 - MateValue))
                stop = true;
            if (searchInfo.stopRequest.load() != StopRequest::Abort) refreshSearchDisplay(c);
            // Every completed iteration leaves its line with the protocol at least once.
            reportedFinal = c.lineReported;
        }
        if (maxDepth <= 2) showSearchLines(c, ExactBound);
        // A stopped search has nothing more to find: the later iterations would all return at
        // once.
        if (stop || c.aborted) break;
    }
    // The helpers' node counts are final from here on.
    stopHelperSearch();
    // Front ends show the last line beside the move played: when a fail high was taken back or
    // a later move took over unreported, the final line is said again.
    bool finalLineShown = reportedFinal && c.reportedMove == c.rootLines[0].move;
    if (!finalLineShown && c.rootLines[0].pvLength > 0 && c.iterationDepth > 0) {
        c.pvIndex = 0;
        sendLine(c, ExactBound);
    }
    return c.rootLines[0].move;
}

void helperRootSearch(SearchContext& c, int maxDepth, int helper) {
    resetSearch(c);
    if (c.rootMoves.count == 0) return;
    takeFirstRootMove(c);
    c.searchStart = millisecondClock();
    for (int d = 2; d <= 2 * maxDepth && d < 2 * MaxPly; d += 2) {
        if (c.helperStop && c.helperStop->load(std::memory_order_relaxed)) break;
        if (d > 2 && helperSkipsIteration(helper, d / 2, c.rootPly)) continue;
        beginIteration(c, d);
        c.pvIndex = 0;
        if (searchSlot(c, c.previousScores[0]) == AbortScore || c.aborted) break;
        c.previousScores[0] = c.rootLines[0].score;
        c.prevInstability = std::min(c.instability, InstabilityCap);
        c.instability = 0;
    }
}

uint64_t searchedNodes(const SearchContext& c) {
    return c.helperStop ? uint64_t(c.nodes) : c.nodes + helperNodes();
}

} // namespace corvid
