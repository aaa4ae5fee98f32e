// The editor's commands on the book in use and the game position.
#include "book/book_file.h"
#include "book/book_test_helpers.h"
#include "control/book_commands.h"
#include "control/game.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace corvid {
namespace {

TEST(BookEditorCommands, EditTheBookInUseAtTheGamePosition) {
    test::EnsureTables();
    test::RecordingReporter reporter;
    test::ScratchDirectory dir;
    resetGame(nullptr);
    ASSERT_TRUE(playGameMoveText("e2e4"));
    OpeningBook& book = currentBook();
    EditorClearBook();
    EXPECT_EQ(reporter.status.back(), "Book Cleared");

    EditorSetPositionValue(2);
    const uint64_t key = currentGamePosition().key;
    ASSERT_NE(BookFind(book, key), nullptr);
    EXPECT_EQ(BookFind(book, key)->value, 2);
    EXPECT_EQ(EditorSaveBook(dir.file("e.obk"), 0), 1);
    EditorRemovePosition();
    EXPECT_EQ(BookFind(book, key), nullptr);
    EXPECT_EQ(reporter.status.back().rfind("Position Removed.", 0), 0u);

    EXPECT_TRUE(EditorLoadBook(dir.file("e.obk")));
    EXPECT_EQ(BookFind(book, key)->value, 2);
    EXPECT_FALSE(EditorLoadBook(dir.file("none.obk")));

    std::ofstream(dir.file("g.pgn")) << "[Result \"1/2-1/2\"]\n\n1. d4 d5 1/2-1/2\n";
    BookBuildParameters p;
    p.upToMove = 45; // the editor keeps 30
    EXPECT_EQ(EditorAddPgn(dir.file("g.pgn"), p), 2);
    EXPECT_EQ(book.positions, 3);
    EXPECT_EQ(reporter.status.back(), "Finished Adding .PGN");
    EditorClearBook();
    EXPECT_EQ(book.positions, 0);
    // The game itself is untouched by the editing.
    EXPECT_EQ(currentGamePosition().key, key);
}

} // namespace
} // namespace corvid
