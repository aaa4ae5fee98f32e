// A small stand-in for the real search, with the same interface: iterative deepening of a plain
// alpha-beta with a capture search over the static evaluation, honouring the stop
// request, ponder miss, clock, depth and node limits exactly as the real search must. The real
// search replaces this file.
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "eval/evaluate.h"
#include "protocol/search_report.h"
#include "search/root_search.h"
#include "startup/clock.h"
#include "startup/search_info.h"

#include <algorithm>
#include <cstring>

namespace corvid {

namespace {

struct StandIn {
    SearchContext& context;
    bool aborted = false;
    int64_t nodeLimit = 0;
    Move pv[MaxSearchPly][MaxPv];
    int pvLength[MaxSearchPly];

    explicit StandIn(SearchContext& c) : context(c) {}

    static int evaluate(const Position& p) {
        return evaluatePosition(p, EvalWindowMin, EvalWindowMax);
    }

    // Polls the stop request every node and the clock every 1024 nodes.
    bool shouldAbort() {
        if (aborted) return true;
        if (searchInfo.ponderState.load(std::memory_order_relaxed) == PonderState::PonderMiss)
            return aborted = true;
        bool firstIteration = context.iterationDepth <= 2;
        if (firstIteration) return false;
        if (searchInfo.stopRequest.load(std::memory_order_relaxed) != StopRequest::None)
            return aborted = true;
        if (nodeLimit > 0 && int64_t(context.nodes) >= nodeLimit) return aborted = true;
        if ((context.nodes & 1023) == 0 && timedSearch()) {
            double budget = std::min(1.0, context.prevInstability / 6.0) *
                                searchInfo.extraTime.load(std::memory_order_relaxed) +
                            searchInfo.targetTime.load(std::memory_order_relaxed);
            if (double(millisecondClock() - context.searchStart) > budget * 1000)
                return aborted = true;
        }
        return false;
    }

    static bool timedSearch() {
        return searchInfo.ponderState.load(std::memory_order_relaxed) != PonderState::Pondering &&
               searchInfo.searchState.load(std::memory_order_relaxed) != SearchState::Analyzing;
    }

    bool isRepetition(const Position& p) const {
        if (p.ply >= KeyHistorySize) return false;
        int start = p.lastIrreversiblePly;
        if ((start ^ p.ply) & 1) ++start;
        for (int q = start; q < p.ply; q += 2)
            if (context.keyHistory[q] == p.key) return true;
        return false;
    }

    static void orderMoves(const Position& p, MoveList& list, Move first) {
        int keys[256];
        for (int i = 0; i < list.count; ++i) {
            Move m = list.moves[i];
            int victim = p.board[MoveTo(m)];
            int key = 0;
            if (m == first) key = 100000;
            else if (victim != Empty && ColourOf(PieceCode(victim)) != p.sideToMove)
                key = 1000 + PieceValue[TypeOf(PieceCode(victim))] * 8 -
                      TypeOf(p.board[MoveFrom(m)]);
            keys[i] = key;
        }
        for (int i = 1; i < list.count; ++i) // insertion sort, stable
            for (int j = i; j > 0 && keys[j] > keys[j - 1]; --j) {
                std::swap(keys[j], keys[j - 1]);
                std::swap(list.moves[j], list.moves[j - 1]);
            }
    }

    int quiescence(const Position& p, int alpha, int beta, int ply) {
        ++context.nodes;
        context.selDepth = std::max(context.selDepth, ply);
        if (shouldAbort()) return AbortScore;
        if (ply >= MaxSearchPly - 1) return evaluate(p);
        bool inCheck = p.checkers != 0;
        if (!inCheck) {
            int standPat = evaluate(p);
            if (standPat >= beta) return standPat;
            alpha = std::max(alpha, standPat);
        }
        MoveList list;
        GenerateLegalMoves(p, list);
        if (list.count == 0) return inCheck ? -(MateValue - ply) : evaluate(p);
        orderMoves(p, list, NoMove);
        int best = inCheck ? -MateValue : alpha;
        for (int i = 0; i < list.count; ++i) {
            Move m = list.moves[i];
            int victim = p.board[MoveTo(m)];
            bool capture = victim != Empty && ColourOf(PieceCode(victim)) != p.sideToMove;
            if (!inCheck && !capture) continue;
            Position child = p;
            MakeMoveWithCheck(child, m);
            int v = quiescence(child, -beta, -std::max(alpha, best), ply + 1);
            if (v == AbortScore) return AbortScore;
            v = -v;
            if (v > best) {
                best = v;
                if (v >= beta) break;
            }
        }
        return best;
    }

    int search(const Position& p, int alpha, int beta, int depth, int ply) {
        pvLength[ply] = 0;
        if (depth <= 0) return quiescence(p, alpha, beta, ply);
        ++context.nodes;
        if (shouldAbort()) return AbortScore;
        if (ply > 0) {
            if (p.ply - p.lastIrreversiblePly > 100 || isRepetition(p)) return 0;
            if (ply >= MaxSearchPly - 2) return evaluate(p);
        }
        if (p.ply < KeyHistorySize) context.keyHistory[p.ply] = p.key;
        MoveList list;
        GenerateLegalMoves(p, list);
        if (list.count == 0) return p.checkers ? -(MateValue - ply) : 0;
        Move first = ply == 0 ? context.rootLines[0].move
                     : pvLength[0] > ply ? pv[0][ply] : NoMove;
        orderMoves(p, list, first);
        int best = -MateValue - 1;
        for (int i = 0; i < list.count; ++i) {
            Move m = list.moves[i];
            Position child = p;
            MakeMoveWithCheck(child, m);
            int v = search(child, -beta, -std::max(alpha, best), depth - 1, ply + 1);
            if (v == AbortScore) return AbortScore;
            v = -v;
            if (v > best) {
                best = v;
                pv[ply][0] = m;
                int childLength = std::min(pvLength[ply + 1], MaxPv - 1);
                std::memcpy(&pv[ply][1], pv[ply + 1], sizeof(Move) * size_t(childLength));
                pvLength[ply] = childLength + 1;
                if (v >= beta) break;
            }
        }
        return best;
    }
};

bool isMateScore(int score, int depthPlies) {
    return score >= MateValue - depthPlies || score <= depthPlies - MateValue;
}

} // namespace

Move rootSearch(SearchContext& context, int maxDepth) {
    context.searchStart = millisecondClock();
    MoveList legal;
    GenerateLegalMoves(context.rootPosition, legal);
    context.rootMoves = legal;
    if (legal.count == 0) return NoMove;
    StandIn standIn(context); // about 160 KB: fits the search thread's large stack
    StandIn* engine = &standIn;
    engine->nodeLimit = searchInfo.maxNodes.load();
    RootLine& line = context.rootLines[0];
    line.move = legal.moves[0];
    line.pvLength = 1;
    line.pv[0] = line.move;
    Move previousBest = NoMove;
    for (int depth = 1; depth <= maxDepth && depth < MaxSearchPly / 2; ++depth) {
        context.iterationDepth = 2 * depth;
        int64_t iterationStart = millisecondClock();
        int score = engine->search(context.rootPosition, -MateValue - 1, MateValue + 1, depth, 0);
        if (score == AbortScore) break;
        line.score = score;
        line.depth = 2 * depth;
        line.pvLength = std::max(1, engine->pvLength[0]);
        std::memcpy(line.pv, engine->pv[0], sizeof(Move) * size_t(line.pvLength));
        line.move = line.pv[0];
        context.prevInstability = std::min(6, context.instability);
        context.instability = line.move != previousBest && depth > 1 ? 2 : 0;
        previousBest = line.move;
        reportSearchLine(context, ExactBound);
        if (isMateScore(score, depth)) break;
        if (legal.count == 1 && depth >= 4 && StandIn::timedSearch()) break;
        if (StandIn::timedSearch() && depth > 1) {
            // The next iteration takes several times as long as this one: do not start it when
            // it cannot finish within the budget.
            int64_t now = millisecondClock();
            double target = searchInfo.targetTime.load() * 1000;
            if (double(now - context.searchStart) > 0.6 * target ||
                double(now - iterationStart) * 3 > target - double(now - context.searchStart))
                break;
        }
    }
    return line.move;
}

} // namespace corvid
