// The search display in the real window: the thinking text after the engine's move, analysis
// lines and their marks, the develop displays from keys and clicks, and the evaluation bar.
#include "window_test_support.h"

#include "control/search_controller.h"
#include "control/settings.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/develop_displays.h"
#include "gui/qt/board_view.h"
#include "gui/qt/side_panel.h"
#include "search/search_info.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <set>

namespace corvid::test {

namespace {

constexpr int e2 = 52, e4 = 36;
constexpr const char* Middlegame =
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 1";

QString statusText(MainWindow& window) { return window.sidePanel()->statusLabel()->text(); }
QString paneText(MainWindow& window) { return window.analysisText()->toPlainText(); }

std::set<QRgb> markColours(MainWindow& window) {
    std::set<QRgb> colours;
    for (const SquareMark& mark : window.boardView()->marks()) colours.insert(mark.colour.rgb());
    return colours;
}

// Analysis of the shown position with the window in analysis mode, as its buttons start it.
void analyse(MainWindow& window, int lines) {
    searchInfo.analysisLines.store(lines);
    window.state().boardMode = AnalysisMode;
    window.setAnalysisPaneOpen(true);
    requestAnalysis();
}

void stopAnalysis(MainWindow& window) {
    stopSearch();
    searchInfo.analysisLines.store(1);
    window.state().boardMode = PlayMode;
}

} // namespace

TEST_F(WindowTest, TheThinkingTextShowsTheFinishedSearch) {
    searchInfo.showSearchInfo.store(true);
    click(e2);
    click(e4);
    ASSERT_TRUE(waitForPly(2));
    QApplication::processEvents();
    const QString text = statusText(*window);
    EXPECT_TRUE(text.startsWith("Eval: ")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nDepth: 3  \t(max ")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nTime: 00:0")) << text.toStdString();
    EXPECT_TRUE(text.contains(" KN\\sec\n")) << text.toStdString();
    // The line of the last iteration is in the history, newest first.
    EXPECT_TRUE(paneText(*window).startsWith("[3]  ")) << paneText(*window).toStdString();
    EXPECT_TRUE(window->boardView()->marks().empty()) << "the engine's move clears the marks";
    screenshot("thinking_text");
}

TEST_F(WindowTest, WithTheSearchInformationOffNothingIsShown) {
    click(e2);
    click(e4);
    ASSERT_TRUE(waitForPly(2));
    QApplication::processEvents();
    EXPECT_EQ(statusText(*window), "") << "\"Thinking....\" is cleared after the search";
    EXPECT_EQ(paneText(*window), "");
}

TEST_F(WindowTest, AnalysisShowsThreeNumberedLinesEachMarkedInItsColour) {
    startFromFen(Middlegame);
    analyse(*window, 3);
    ASSERT_TRUE(waitFor([&] {
        const QStringList lines = paneText(*window).split('\n');
        return lines.size() == 3 && lines[2].startsWith("3. [") && markColours(*window).size() == 3;
    })) << paneText(*window).toStdString()
        << "\nmark colours: " << markColours(*window).size();
    const QStringList lines = paneText(*window).split('\n');
    EXPECT_TRUE(lines[0].startsWith("1. [")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("2. [")) << lines[1].toStdString();
    EXPECT_EQ(window->boardView()->marks().size(), 6u);
    EXPECT_TRUE(statusText(*window).startsWith("Eval: ")) << "analysis shows the figures too";
    screenshot("analysis_three_lines");
    stopAnalysis(*window);
}

TEST_F(WindowTest, TheHistoryKeepsThirtyLinesNewestFirst) {
    startFromFen(Middlegame);
    analyse(*window, 1);
    ASSERT_TRUE(waitFor([&] { return paneText(*window).startsWith("[8]"); }, 60000));
    stopAnalysis(*window);
    QApplication::processEvents();
    const QStringList lines = paneText(*window).split('\n');
    EXPECT_LE(lines.size(), 30);
    int previous = 1000;
    for (const QString& line : lines) {
        const int depth = line.mid(1, line.indexOf(']') - 1).toInt();
        EXPECT_LE(depth, previous) << line.toStdString();
        previous = depth;
        EXPECT_LE(line.size(), 1024);
    }
    screenshot("analysis_history");
}

TEST_F(WindowTest, DevelopDisplaysFromKeysAndClicks) {
    // The knight on e2 is pinned by the rook on e8.
    startFromFen("4r1k1/5ppp/8/8/8/8/3BNPPP/4K3 w - - 0 1");
    auto key = [&](Qt::Key k) {
        QTest::keyClick(window.get(), k);
        QApplication::processEvents();
        return statusText(*window).toStdString();
    };
    EXPECT_EQ(key(Qt::Key_E).rfind("Eval : ", 0), 0u);
    EXPECT_NE(key(Qt::Key_F).find(" Moves\n  0 captures\n"), std::string::npos);
    EXPECT_EQ(key(Qt::Key_Q).rfind("QSearch \n  Eval : ", 0), 0u);
    EXPECT_EQ(key(Qt::Key_A).rfind("Black King ", 0), 0u);
    EXPECT_EQ(key(Qt::Key_Z).rfind("White King ", 0), 0u);
    screenshot("king_details");

    QTest::mouseClick(window->boardView(), Qt::RightButton, {}, cellCentre(e2));
    QApplication::processEvents();
    EXPECT_EQ(statusText(*window).toStdString().rfind("Knight = ", 0), 0u);
    ASSERT_EQ(window->boardView()->marks().size(), 1u);
    EXPECT_EQ(window->boardView()->marks()[0].square, e2);
    EXPECT_EQ(window->boardView()->marks()[0].colour.rgb(),
              QColor::fromRgb(PinnedPieceColour).rgb());
    screenshot("pinned_piece");

    // A display asked for while the engine analyses stops the search before it reads anything;
    // the analysis goes on afterwards.
    analyse(*window, 1);
    ASSERT_TRUE(waitFor([] { return searchInfo.searchState.load() == SearchState::Analyzing; }));
    window->runCommand(cmd::DisplayQSearch);
    EXPECT_EQ(statusText(*window).toStdString().rfind("QSearch ", 0), 0u);
    // The analysis left its entry for the position in the table.
    window->runCommand(cmd::DisplayTtEntry);
    EXPECT_TRUE(statusText(*window).contains("\nAge: ")) << statusText(*window).toStdString();
    stopAnalysis(*window);
}

TEST_F(WindowTest, TheEvaluationBarFollowsTheScore) {
    EXPECT_FALSE(window->action(cmd::ShowEvalBar)->isChecked()) << "off by default";
    window->runCommand(cmd::ShowEvalBar);
    EXPECT_TRUE(window->action(cmd::ShowEvalBar)->isChecked());
    // White a queen up: the bar fills with White.
    startFromFen("4k3/pppp4/8/8/8/8/PPPP4/3QK3 w - - 0 1");
    analyse(*window, 1);
    ASSERT_TRUE(waitFor([&] { return window->boardView()->evalBarShare() > 0.9; }));
    stopAnalysis(*window);
    screenshot("evaluation_bar");
    window->runCommand(cmd::ShowEvalBar);
    EXPECT_FALSE(window->action(cmd::ShowEvalBar)->isChecked());
}

} // namespace corvid::test
