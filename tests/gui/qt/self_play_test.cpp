// The engine plays both sides in the real window at 1 s + 0.01 s per game until 40 moves have
// been played (a game that ends early is followed by a new one). Run under the thread and
// address sanitizers, this is the desktop's threading test: the search thread reports while
// the window thread draws, ticks the clocks and handles the posted copies.
#include "window_test_support.h"

#include "chess/game_record.h"
#include "control/search_controller.h"
#include "gui/logic/command_ids.h"
#include "search/search_info.h"

#include "gui/qt/board_view.h"

#include <QApplication>
#include <cstdio>

namespace corvid::test {

TEST_F(WindowTest, SelfPlayFortyMoves) {
    searchInfo.maxDepth.store(52);
    searchInfo.baseMinutes.store(1.0 / 60);
    searchInfo.incrementSeconds.store(0.01);
    int plies = 0;
    int games = 0;
    while (plies < 80 && games < 20) {
        ++games;
        window->runCommand(cmd::NewGame);
        window->runCommand(cmd::SelfPlay);
        // The engine stops playing when the game ends (it then plays neither side).
        ASSERT_TRUE(waitFor(
            [&] {
                return searchInfo.humanSide.load() == EnginePlaysNeither ||
                       window->state().game.moveCount + plies >= 80;
            },
            120000));
        window->runCommand(cmd::TwoPlayer); // the engine stops after its current move
        ASSERT_TRUE(waitFor([&] {
            return searchController.idle() &&
                   window->state().game.moveCount == gameRecord.moveCount;
        }));
        plies += window->state().game.moveCount;
    }
    EXPECT_GE(plies, 80);
    // The window shows the game as it stands.
    EXPECT_EQ(window->state().game.ply, gamePosition.ply);
}

} // namespace corvid::test

namespace corvid::test {

// The figures of the closing note: from the start of the process (engine start-up with the
// default 48 MB table included) to the window's first paint, and the memory then in use. Run
// alone (as ctest runs each test), this window is the process's first.
TEST_F(WindowTest, FirstPaintAndMemoryFigures) {
    ASSERT_TRUE(waitFor([&] { return window->boardView()->paintCount() > 0; }));
    const double milliseconds = millisecondsSinceProcessStart();
    long residentKb = 0;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmRSS: %ld kB", &residentKb) == 1) break;
        std::fclose(status);
    }
    std::printf("first paint after %.0f ms; resident memory %ld MB\n", milliseconds,
                residentKb / 1024);
    RecordProperty("first_paint_ms", int(milliseconds));
    RecordProperty("resident_mb", int(residentKb / 1024));
}

} // namespace corvid::test
