#include "gui/logic/desktop.h"
#include "gui/logic/desktop_reporter.h"

#include "chess/game_record.h"
#include "chess/position.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace corvid {

TEST(DesktopReporter, PostsCopiesFromAnyThread) {
    test::StartTestGame("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    DesktopReporter reporter;
    std::vector<DesktopEvent> posted;
    reporter.attach([&](DesktopEvent&& e) { posted.push_back(std::move(e)); }, [] { return 2; });

    SearchReport report;
    Position root = gamePosition;
    report.root = &root;
    report.nodes = 1234;
    report.lines[0].length = 1;
    std::thread searchThread([&] {
        reporter.boardChanged();
        reporter.statusText("Thinking....");
        reporter.messageBox(" Game Over ", "Check Mate!");
        reporter.searchProgress(report);
        // Off the window thread nobody is asked: the queen.
        EXPECT_EQ(reporter.promotionPiece(), Queen);
    });
    searchThread.join();
    root.board[0] = Empty; // the copy does not follow the original

    ASSERT_EQ(posted.size(), 4u);
    EXPECT_EQ(posted[0].kind, DesktopEventKind::Game);
    EXPECT_EQ(posted[0].game->sideToMove, Black);
    EXPECT_EQ(posted[0].game->board[36], MakePiece(White, Pawn));
    EXPECT_EQ(posted[1].kind, DesktopEventKind::Status);
    EXPECT_EQ(posted[1].text, "Thinking....");
    EXPECT_EQ(posted[2].title, " Game Over ");
    EXPECT_EQ(posted[2].text, "Check Mate!");
    ASSERT_EQ(posted[3].kind, DesktopEventKind::SearchProgress);
    EXPECT_EQ(posted[3].search->report.nodes, 1234u);
    ASSERT_NE(posted[3].search->report.root, nullptr);
    EXPECT_NE(posted[3].search->report.root, &root);
    EXPECT_EQ(posted[3].search->report.root->board[0], MakePiece(Black, Rook));

    // On the window thread the window's question answers.
    EXPECT_EQ(reporter.promotionPiece(), Bishop);
    reporter.detach();
    reporter.statusText("after");
    EXPECT_EQ(posted.size(), 4u);
    EXPECT_EQ(reporter.promotionPiece(), Queen);
}

TEST(DesktopReporter, SnapshotCarriesTheMoveTexts) {
    test::StartTestGame("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    ASSERT_TRUE(PlayMoveInGame(gamePosition, 4, 6, 4, 4, Pawn, true, gameRecord, Queen));
    GameSnapshot s = takeGameSnapshot();
    EXPECT_EQ(s.moveCount, 1);
    ASSERT_EQ(s.moveTexts.size(), 1u);
    EXPECT_EQ(s.moveTexts[0], gameRecord.Entry(0));
    EXPECT_EQ(s.ply, 1);
    EXPECT_FALSE(s.inCheck);
}

TEST(BookView, ColourSlotsWrapForAnyNumberOfMoves) {
    const int expected[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2};
    for (int i = 0; i < int(std::size(expected)); ++i)
        EXPECT_EQ(bookMoveColourSlot(i), expected[i]) << i;
    for (int i = 0; i < 300; ++i) {
        EXPECT_GE(bookMoveColourSlot(i), 0);
        EXPECT_LE(bookMoveColourSlot(i), 8);
    }
}

} // namespace corvid
