// Command 40087 in the real window: it toggles the analysis pane and runs the test match, whose
// statistics are the status text after every game while no game-end box appears; giving a side
// to the user ends the match with the user's time control back.
#include "window_test_support.h"

#include "control/test_match.h"
#include "gui/logic/command_ids.h"
#include "gui/qt/board_view.h"
#include "gui/qt/side_panel.h"
#include "search/search_info.h"
#include "support/test_support.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <filesystem>
#include <fstream>

namespace corvid::test {

namespace {

// The games count of a statistics text, -1 for any other text.
int gamesIn(const std::string& text) {
    size_t at = text.find("\ngames: ");
    return text[0] == '+' && at != std::string::npos ? std::atoi(text.c_str() + at + 8) : -1;
}

} // namespace

TEST_F(WindowTest, TestMatchShowsItsStatisticsAfterEveryGameAndEndsWhenTheUserTakesASide) {
    // The match reads its start positions from the working folder: white mates in one in each,
    // so that every game is one move.
    ScratchDirectory folder;
    std::filesystem::create_directory(folder.file("openingBook"));
    std::ofstream(folder.file("openingBook/testStartPositions.txt"))
        << "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\n7k/6pp/8/8/8/8/6PP/1Q4K1 w - - 0 1\n";
    const std::filesystem::path workingFolder = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());

    std::vector<std::string> statistics;
    window->addEventListener([&statistics](const DesktopEvent& e) {
        if (e.kind == DesktopEventKind::Status && gamesIn(e.text) >= 0)
            statistics.push_back(e.text);
    });
    const bool paneWasOpen = window->state().analysisPaneOpen;
    QTest::keyClick(window->boardView(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_NE(window->state().analysisPaneOpen, paneWasOpen);
    EXPECT_TRUE(testMatchRunning());
    ASSERT_TRUE(waitFor([&] { return statistics.size() >= 4; }));
    screenshot("test_match");

    window->runCommand(cmd::TwoPlayer); // the user takes the board: the match ends
    ASSERT_TRUE(waitFor([] { return !testMatchRunning(); }));
    QApplication::processEvents();
    std::filesystem::current_path(workingFolder);

    // One text per game, in order, each with results that add up; the last one stays shown.
    for (size_t i = 0; i < statistics.size(); ++i) {
        const std::string& text = statistics[i];
        EXPECT_EQ(gamesIn(text), int(i)) << text;
        int wins = -1, losses = -1, draws = -1;
        ASSERT_EQ(std::sscanf(text.c_str(), "+%d -%d =%d", &wins, &losses, &draws), 3);
        EXPECT_EQ(wins + losses + draws, int(i));
        EXPECT_LE(std::abs(wins - losses), 1); // white wins every game: A wins every other one
    }
    EXPECT_EQ(window->sidePanel()->statusLabel()->text().toStdString(), statistics.back());
    EXPECT_TRUE(messages.empty()) << messages.front(); // no "Game Over" box for any game
    EXPECT_EQ(testMatch.timeForfeits, 0);
    EXPECT_EQ(searchInfo.baseMinutes.load(), 5);
    EXPECT_EQ(searchInfo.incrementSeconds.load(), 5);
    EXPECT_EQ(searchInfo.humanSide.load(), EnginePlaysNeither);
}

} // namespace corvid::test
