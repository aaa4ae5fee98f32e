#include "search/search_report.h"

#include "chess/make_move.h"
#include "platform/clock.h"
#include "search/root_search.h"
#include "search/search_info.h"
#include "search/search_threads.h"
#include "search/table_fill.h"

#include <algorithm>
#include <cstring>

namespace corvid {

static_assert(MaxPv <= ReportedLine::MaxMoves && MaxRootLines <= SearchReport::MaxLines,
              "a report holds every root line whole");
static_assert(ExactBound == ReportExact && LowerBound == ReportLowerBound &&
                  UpperBound == ReportUpperBound,
              "reports carry the search's bounds unchanged");

namespace {

// The move of the first table entry with the position's key (no cut-off asked for, so the
// probe changes nothing).
Move tableMove(const Position& p) {
    TTProbe probe;
    constexpr int NeverEnoughDepth = 1 << 20;
    ttProbe(p.key, -MateValue, MateValue, NeverEnoughDepth, 0, 0, probe);
    return probe.found ? probe.move : NoMove;
}

// The report is a few kilobytes: filled in place on the search thread's stack, handed over by
// reference, copied by whoever keeps it.
template <class Send> void sendReport(const SearchContext& context, int bound, Send&& send) {
    // The main search alone speaks for all threads.
    if (context.helperStop) return;
    SearchReport report;
    fillSearchReport(context, bound, report);
    send(report);
}

} // namespace

void fillSearchReport(const SearchContext& c, int bound, SearchReport& report) {
    report.root = &c.rootPosition;
    report.rootSide = c.rootSide;
    report.iterationDepth = c.iterationDepth;
    report.selDepth = c.selDepth;
    report.bound = bound;
    report.lineIndex = c.pvIndex;
    report.lineCount = linesPerIteration(c);
    report.elapsedMs = std::max<int64_t>(millisecondClock() - c.searchStart, 0);
    report.nodes = searchedNodes(c);
    report.qnodes = c.qnodes + helperQuiescenceNodes();
    report.rootMoveNumber = c.rootMoveNumber;
    report.plyOneMoveNumber = c.plyOneMoveNumber;
    report.rootMoveCount = c.rootMoves.count;
    report.currentRootMove = c.currentRootMove;
    report.pondering = searchInfo.ponderState.load() == PonderState::Pondering;
    report.searchId = c.searchAge;
    for (int i = 0; i < MaxRootLines; ++i) {
        const RootLine& line = c.rootLines[i];
        ReportedLine& copy = report.lines[i];
        copy.move = line.move;
        copy.score = line.score;
        copy.depth = line.depth;
        copy.length = std::clamp(line.pvLength, 0, MaxPv);
        std::memcpy(copy.moves, line.pv, sizeof(Move) * size_t(copy.length));
    }
}

void reportSearchLine(const SearchContext& context, int bound) {
    sendReport(context, bound, [](const SearchReport& r) { reporter().searchLine(r); });
}

void refreshSearchDisplay(const SearchContext& context) {
    sendReport(context, ExactBound, [&](SearchReport& r) {
        r.hashFull = ttFillPermille(context.searchAge);
        reporter().searchProgress(r);
    });
}

void reportFinishedSearch(const SearchContext& context) {
    sendReport(context, ExactBound, [](SearchReport& r) {
        r.searchDone = true;
        reporter().searchProgress(r);
    });
}

void showSearchLines(const SearchContext& context, int kind) {
    sendReport(context, kind, [](const SearchReport& r) { reporter().searchLines(r); });
}

Move expectedReply(const Position& after, Move ourMove, const SearchContext& context) {
    Move reply = tableMove(after);
    if (IsPlayable(after, reply)) return reply;
    const RootLine& line = context.rootLines[0];
    if (line.pvLength > 1 && line.pv[0] == ourMove && IsPlayable(after, line.pv[1]))
        return line.pv[1];
    return NoMove;
}

} // namespace corvid
