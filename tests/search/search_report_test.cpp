// What the search hands its reporter: copies of the root lines and figures, consistent with the
// search's own result, for every face of the program alike.
#include "chess/make_move.h"
#include "platform/engine_reporter.h"
#include "search/search_report.h"
#include "support/search_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvid {
namespace {

struct Recorded {
    Position root;
    SearchReport report;
};

struct RecordingReporter : EngineReporter {
    std::vector<Recorded> lines, progress, lineDisplays;
    static Recorded copy(const SearchReport& r) { return {*r.root, r}; }
    void searchLine(const SearchReport& r) override { lines.push_back(copy(r)); }
    void searchProgress(const SearchReport& r) override { progress.push_back(copy(r)); }
    void searchLines(const SearchReport& r) override { lineDisplays.push_back(copy(r)); }
};

struct ReporterScope {
    RecordingReporter recorder;
    ReporterScope() { setReporter(&recorder); }
    ~ReporterScope() { setReporter(nullptr); }
};

TEST(SearchReport, LinesAndFiguresMatchTheSearch) {
    ReporterScope scope;
    const char* fen = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";
    test::SearchRun run = test::SearchFen(fen, 7);
    const RecordingReporter& r = scope.recorder;
    ASSERT_FALSE(r.lines.empty());
    ASSERT_FALSE(r.progress.empty()) << "every iteration refreshes the figures";
    ASSERT_FALSE(r.lineDisplays.empty());

    int lastDepth = 0;
    uint64_t lastNodes = 0;
    for (const Recorded& rec : r.lines) {
        const SearchReport& report = rec.report;
        EXPECT_EQ(rec.root.key, run.context->rootPosition.key);
        EXPECT_GE(report.iterationDepth, lastDepth);
        EXPECT_GE(report.nodes, lastNodes);
        EXPECT_GE(report.nodes, report.qnodes);
        lastDepth = report.iterationDepth;
        lastNodes = report.nodes;
        EXPECT_EQ(report.lineCount, 1);
        EXPECT_EQ(report.lineIndex, 0);
        const ReportedLine& line = report.lines[0];
        ASSERT_GT(line.length, 0);
        EXPECT_EQ(line.moves[0], line.move);
        EXPECT_TRUE(IsPlayable(rec.root, line.move));
    }
    EXPECT_EQ(r.lines.back().report.iterationDepth, 14) << "the last iteration reports its line";
    // In this search a later root move fails high and is taken back in its re-search: the last
    // line must still show the move the search returns.
    EXPECT_EQ(r.lines.back().report.lines[0].move, run.best);
    EXPECT_EQ(r.lines.back().report.bound, ReportExact);
    EXPECT_EQ(r.progress.back().report.rootMoveCount, run.context->rootMoves.count);
}

// The report is a faithful copy: the desktop and the protocols see the search's own lines.
TEST(SearchReport, AnalysisHandsOverEveryLine) {
    ReporterScope scope;
    const char* fen = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 1";
    test::SearchRun run = test::SearchFen(fen, 5, {}, 3);
    ASSERT_FALSE(scope.recorder.lineDisplays.empty());
    EXPECT_EQ(scope.recorder.lineDisplays.back().report.lineCount, 3);

    const SearchContext& c = *run.context;
    test::SearchSettings analysing;
    SearchReport report;
    fillSearchReport(c, ReportUpperBound, report);
    EXPECT_EQ(report.root, &c.rootPosition);
    EXPECT_EQ(report.bound, ReportUpperBound);
    EXPECT_EQ(report.nodes, c.nodes);
    EXPECT_EQ(report.iterationDepth, c.iterationDepth);
    for (int i = 0; i < MaxRootLines; ++i) {
        const RootLine& line = c.rootLines[i];
        const ReportedLine& copy = report.lines[i];
        EXPECT_EQ(copy.move, line.move) << "line " << i;
        EXPECT_EQ(copy.score, line.score) << "line " << i;
        EXPECT_EQ(copy.depth, line.depth) << "line " << i;
        ASSERT_EQ(copy.length, line.pvLength) << "line " << i;
        for (int k = 0; k < line.pvLength; ++k) EXPECT_EQ(copy.moves[k], line.pv[k]);
    }
}

} // namespace
} // namespace corvid
