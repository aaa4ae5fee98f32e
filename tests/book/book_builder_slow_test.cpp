// Building from a real collection of master games.
#include "book/book_builder.h"
#include "book/book_file.h"
#include "book/book_moves.h"
#include "book/book_test_helpers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

TEST(BookBuilderMasterGames, GiveAPlausibleBook) {
    // The opening moves of a tournament's games, from the default book's source.
    std::string path = test::SourcePath("data/book/twic0920.pgn");
    test::FenPosition start(StartFen);
    OpeningBook book;
    BookBuildParameters p;
    p.upToMove = 12;
    EXPECT_EQ(BuildBookFromPgn(book, path, p), 2246); // every game read, counter one beyond
    BookKeepFrequent(book, 3);
    EXPECT_GT(book.positions, 500);
    for (const char* line : {"e2e4", "d2d4", "e2e4 c7c5", "d2d4 g8f6 c2c4"}) {
        const BookEntry* entry = BookFind(book, test::KeyAfter(start.position, line));
        ASSERT_NE(entry, nullptr) << line;
        EXPECT_EQ(entry->value, 0) << line;
    }
    // Following the book from the start goes several moves deep.
    Position p0 = start.position;
    KeyRandom random;
    int plies = 0;
    while (Move move = ChooseBookMove(book, p0, nullptr, random, plies)) {
        MakeMoveWithCheck(p0, move);
        ++plies;
    }
    EXPECT_GE(plies, 4);
}

} // namespace
} // namespace corvid
