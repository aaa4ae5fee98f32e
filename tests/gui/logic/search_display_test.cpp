// The window's search display without a window: the side panel's text, the analysis lines and
// history, the line marks, the evaluation bar's share, and the reporter's batches.
#include "gui/logic/desktop_reporter.h"
#include "gui/logic/search_display.h"

#include "search/search_context.h"
#include "search/search_info.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <thread>

namespace corvid {
namespace {

int Sq(const char* name) { return ('8' - name[1]) * 8 + (name[0] - 'a'); }
Move M(const char* from, const char* to) { return MakeMoveCode(Sq(from), Sq(to)); }

void setLine(ReportedLine& line, std::initializer_list<Move> moves, int score, int depth) {
    line.length = 0;
    for (Move m : moves) line.moves[line.length++] = m;
    line.move = line.moves[0];
    line.score = score;
    line.depth = depth;
}

class SearchDisplayTest : public ::testing::Test {
protected:
    test::FenPosition start{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"};
    SearchReport report;
    WindowState state;

    void SetUp() override {
        report.root = &start.position;
        report.iterationDepth = 14;
        report.selDepth = 23;
        report.elapsedMs = 2500;
        report.nodes = 20'000'000;
        report.qnodes = 5'000'000;
        report.rootMoveNumber = 3;
        report.plyOneMoveNumber = 12;
        report.rootMoveCount = 20;
        report.currentRootMove = M("d2", "d4");
        report.searchId = 7;
        setLine(report.lines[0], {M("e2", "e4"), M("e7", "e5"), M("g1", "f3")}, 31, 14);
        searchInfo.showSearchInfo.store(true);
        searchInfo.evalsFromWhitePov.store(true);
    }
};

TEST_F(SearchDisplayTest, TheSidePanelText) {
    EXPECT_EQ(searchInfoText(report, true), "Eval: 0.31\nDepth: 7  \t(max 23)\nTime: 00:02.5\n"
                                            "Move: e4 \n      [3.12/20] ( d4 )\n"
                                            "Nodes:\n  20 M\n  25% qs\n  8000 KN\\sec\n");
    struct NodeCase {
        uint64_t nodes;
        const char* text;
    } nodeCases[] = {{9999, "Nodes:\n  9999\n  0% qs"},
                     {10000, "Nodes:\n  10 K\n  0% qs"},
                     {9999999, "Nodes:\n  9999 K\n  0% qs"},
                     {0, "Nodes:\n  0\n  0% qs"},
                     // Counts beyond 32 bits are written whole.
                     {5'000'000'000, "Nodes:\n  5000 M\n  0% qs"},
                     {4'294'967'297'000, "Nodes:\n  4294967 M\n  0% qs"}};
    report.qnodes = 0;
    for (const NodeCase& c : nodeCases) {
        report.nodes = c.nodes;
        EXPECT_NE(searchInfoText(report, true).find(c.text), std::string::npos) << c.nodes;
    }
    // A search that has not started its clock yet divides by a microsecond, not by zero.
    report.elapsedMs = 0;
    report.nodes = 5;
    EXPECT_NE(searchInfoText(report, true).find("\n  5000 KN\\sec\n"), std::string::npos);
}

TEST_F(SearchDisplayTest, SeveralLinesAtOnceWithTheirMarks) {
    report.lineCount = 3;
    report.lineIndex = 2;
    report.bound = ReportLowerBound;
    setLine(report.lines[1], {M("d2", "d4"), M("d7", "d5")}, -12, 12);
    setLine(report.lines[2], {M("g1", "f3"), M("g8", "f6")}, 5, 14);
    EXPECT_EQ(analysisLinesText(report, true), "1. [7] 0.31   e4 e5 Nf3 \n"
                                               "2. [6] -0.12   d4 d5 \n"
                                               "3. [7] 0.05   Nf3 [++] ");
    BoardMarks marks = lineMarks(report);
    ASSERT_EQ(marks.size(), 6u);
    // The last line first, so that the best line's frames are drawn on top.
    EXPECT_EQ(marks[0].square, Sq("g1"));
    EXPECT_EQ(marks[1].square, Sq("f3"));
    EXPECT_EQ(marks[0].rgb, lineColour(2));
    EXPECT_EQ(marks[4].square, Sq("e2"));
    EXPECT_EQ(marks[5].square, Sq("e4"));
    EXPECT_EQ(marks[5].rgb, lineColour(0));
    EXPECT_NE(lineColour(0), lineColour(1));
    EXPECT_NE(lineColour(1), lineColour(2));
    report.pondering = true;
    EXPECT_TRUE(lineMarks(report).empty());
    report.pondering = false;
    report.lines[0].move = NoMove;
    EXPECT_TRUE(lineMarks(report).empty());
}

TEST_F(SearchDisplayTest, TheHistoryKeepsThirtyLinesOfOneSearch) {
    SearchDisplay display;
    SearchDisplayUpdate update;
    for (int depth = 1; depth <= 40; ++depth) {
        report.iterationDepth = 2 * depth;
        update = display.lines(report, state);
    }
    ASSERT_TRUE(update.pane);
    ASSERT_EQ(display.history().lines().size(), AnalysisHistory::MaxLines);
    EXPECT_EQ(display.history().lines().front(), "[40]  0.31  00:02.5  e4 e5 Nf3 ");
    EXPECT_EQ(display.history().lines().back().substr(0, 5), "[11] ");
    EXPECT_EQ(update.pane->substr(0, 5), "[40] ");
    ASSERT_TRUE(update.marks);
    EXPECT_EQ(update.marks->size(), 2u);
    display.newestFirst = false;
    update = display.lines(report, state);
    EXPECT_EQ(update.pane->substr(0, 5), "[12] ");
    EXPECT_TRUE(update.scrollToEnd);

    // The next root search starts afresh.
    report.searchId = 8;
    update = display.progress(report, state);
    EXPECT_TRUE(display.history().lines().empty());
    display.lines(report, state);
    EXPECT_EQ(display.history().lines().size(), 1u);
}

TEST_F(SearchDisplayTest, WhilePonderingTheLineStartsWithTheMovePonderedOn) {
    SearchDisplay display;
    display.ponderMove("e5 ");
    report.pondering = true;
    report.bound = ReportUpperBound;
    SearchDisplayUpdate update = display.lines(report, state);
    EXPECT_EQ(*update.pane, "[7]  0.31  00:02.5  { e5 } e4 [--] ");
    EXPECT_FALSE(update.marks) << "the board is left alone while pondering";
}

TEST_F(SearchDisplayTest, HistoryLinesStayWithinTheirLengthAtAWholeMove) {
    const Move shuffle[4] = {M("g1", "f3"), M("g8", "f6"), M("f3", "g1"), M("f6", "g8")};
    for (int i = 0; i < ReportedLine::MaxMoves; ++i) report.lines[0].moves[i] = shuffle[i % 4];
    report.lines[0].length = ReportedLine::MaxMoves;
    std::string line = historyLineText(report, "", true);
    EXPECT_LE(line.size(), AnalysisHistory::MaxLineLength);
    EXPECT_GT(line.size(), AnalysisHistory::MaxLineLength - 5);
    EXPECT_EQ(line.substr(line.size() - 4), "Ng1 ");
    AnalysisHistory history;
    history.add(std::string(5000, 'x'));
    EXPECT_EQ(history.lines().front().size(), AnalysisHistory::MaxLineLength);
}

TEST_F(SearchDisplayTest, ShownOnlyWithTheSearchInformationOrWhileAnalysing) {
    SearchDisplay display;
    searchInfo.showSearchInfo.store(false);
    EXPECT_FALSE(display.progress(report, state).status);
    EXPECT_FALSE(display.lines(report, state).pane);
    report.searchDone = true; // the search's end clears "Thinking...."
    EXPECT_EQ(display.progress(report, state).status, std::string());
    state.boardMode = AnalysisMode;
    report.searchDone = false;
    EXPECT_TRUE(display.progress(report, state).status);
    EXPECT_TRUE(display.lines(report, state).pane);
}

TEST_F(SearchDisplayTest, TheBarFollowsTheScoreFromWhitesSide) {
    EXPECT_DOUBLE_EQ(whiteShare(0, White), 0.5);
    EXPECT_GT(whiteShare(100, White), 0.6);
    EXPECT_LT(whiteShare(100, White), 0.7);
    EXPECT_DOUBLE_EQ(whiteShare(100, White), 1 - whiteShare(100, Black));
    EXPECT_DOUBLE_EQ(whiteShare(9990, White), 1.0);
    EXPECT_DOUBLE_EQ(whiteShare(9990, Black), 0.0);
    EXPECT_DOUBLE_EQ(whiteShare(-30000, White), 0.5);
    SearchDisplay display;
    EXPECT_FALSE(display.barShare());
    display.progress(report, state);
    ASSERT_TRUE(display.barShare());
    EXPECT_GT(*display.barShare(), 0.5);
}

// A fast search never floods the window: its reports wait in one batch until the window takes
// them, and they never overtake an event posted before them.
TEST(DesktopReporterBatches, ReportsJoinTheWaitingBatch) {
    test::FenPosition fen{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"};
    DesktopReporter reporter;
    std::vector<DesktopEvent> posted;
    reporter.attach([&](DesktopEvent&& e) { posted.push_back(std::move(e)); }, [] { return 4; });
    SearchReport report;
    report.root = &fen.position;
    std::thread searchThread([&] {
        for (int i = 1; i <= 100; ++i) {
            report.nodes = uint64_t(i);
            reporter.searchLines(report);
            reporter.searchProgress(report);
        }
        reporter.statusText("Pondering...");
        reporter.searchProgress(report);
    });
    searchThread.join();
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[0].kind, DesktopEventKind::SearchReports);
    EXPECT_EQ(posted[1].kind, DesktopEventKind::Status);
    EXPECT_EQ(posted[2].kind, DesktopEventKind::SearchReports);
    SearchBatch::Contents first = posted[0].batch->take();
    ASSERT_EQ(first.lines.size(), SearchBatch::MaxLines);
    EXPECT_EQ(first.lines.front()->report.nodes, 71u);
    EXPECT_EQ(first.lines.back()->report.nodes, 100u);
    EXPECT_EQ(first.progress->report.nodes, 100u);
    // Once taken, the next report opens a new batch.
    EXPECT_EQ(posted[2].batch->take().progress->report.nodes, 100u);
    reporter.searchProgress(report);
    EXPECT_EQ(posted.size(), 4u);
    reporter.detach();
}

} // namespace
} // namespace corvid
