// Building the book from PGN: which sides count, the move range, the occurrence threshold, plain
// values kept, and files that cannot be used.
#include "book/book_builder.h"
#include "book/book_file.h"
#include "book/book_test_helpers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace corvid {
namespace {

std::string game(const char* result, const char* moves, const std::string& extraTags = "") {
    return std::string("[Event \"t\"]\n[Result \"") + result + "\"]\n" + extraTags + "\n" + moves +
           " " + result + "\n\n";
}

struct BookBuilderTest : ::testing::Test {
    void SetUp() override { test::EnsureTables(); }
    test::ScratchDirectory dir;
    test::FenPosition start{StartFen};
    OpeningBook book;
    int files = 0;

    std::string pgn(const std::string& text) {
        std::string path = dir.file("games" + std::to_string(files++) + ".pgn");
        std::ofstream(path) << text;
        return path;
    }
    int value(const std::string& line) {
        const BookEntry* entry = BookFind(book, test::KeyAfter(start.position, line));
        return entry ? entry->value : BookEmptyValue;
    }
    static BookBuildParameters sides(int which, int from = 1, int upTo = 10) {
        BookBuildParameters p;
        p.sides = which;
        p.fromMove = from;
        p.upToMove = upTo;
        return p;
    }
};

TEST_F(BookBuilderTest, TheChosenSidesDecideWhichPositionsCount) {
    std::string path = pgn(game("1-0", "1. e4 e5 2. Nf3 Nc6") + game("0-1", "1. d4 d5 2. c4 e6") +
                           game("1/2-1/2", "1. c4 c5") + game("*", "1. g3 g6"));
    // Only drawing, and the decisive games add nothing.
    EXPECT_EQ(BuildBookFromPgn(book, pgn(game("1-0", "1. e4 e5") + game("0-1", "1. d4 d5")),
                               sides(BookFromDrawing)),
              3);
    EXPECT_EQ(book.positions, 0);

    EXPECT_EQ(BuildBookFromPgn(book, path, sides(BookFromWinning)), 5);
    // The winner's moves: white's in the first game, black's in the second.
    EXPECT_EQ(value("e2e4"), 101);
    EXPECT_EQ(value("e2e4 e7e5 g1f3"), 101);
    EXPECT_EQ(value("e2e4 e7e5"), BookEmptyValue);
    EXPECT_EQ(value("d2d4 d7d5"), 101);
    EXPECT_EQ(value("d2d4 d7d5 c2c4 e7e6"), 101);
    EXPECT_EQ(value("d2d4"), BookEmptyValue);
    EXPECT_EQ(book.positions, 4);

    BookNew(book);
    BuildBookFromPgn(book, path, sides(BookFromLosing));
    EXPECT_EQ(value("e2e4 e7e5"), 101);
    EXPECT_EQ(value("d2d4"), 101);
    EXPECT_EQ(book.positions, 4);

    BookNew(book);
    BuildBookFromPgn(book, path, sides(BookFromDrawing));
    // Draws and undecided games, both sides' moves.
    EXPECT_EQ(value("c2c4"), 101);
    EXPECT_EQ(value("c2c4 c7c5"), 101);
    EXPECT_EQ(value("g2g3 g7g6"), 101);
    EXPECT_EQ(book.positions, 4);
}

TEST_F(BookBuilderTest, TheMoveRangeLimitsThePositions) {
    std::string path = pgn(game("1/2-1/2", "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6") +
                           game("1/2-1/2", "1. d4 Nf6 2. c4 e6 3. Nc3 Bb4"));
    BuildBookFromPgn(book, path, sides(BookFromDrawing, 1, 1));
    EXPECT_EQ(book.positions, 4); // after white's and black's first moves only
    EXPECT_EQ(value("d2d4 g8f6"), 101);
    BookNew(book);
    BuildBookFromPgn(book, path, sides(BookFromDrawing, 2, 3));
    EXPECT_EQ(book.positions, 8);
    EXPECT_EQ(value("e2e4 e7e5 g1f3"), 101);
    EXPECT_EQ(value("e2e4 e7e5"), BookEmptyValue);
    EXPECT_EQ(value("d2d4 g8f6 c2c4 e7e6 b1c3 f8b4"), 101);
}

TEST_F(BookBuilderTest, PositionsSeenOftenEnoughAreKeptWithValueZero) {
    BookAdd(book, test::KeyAfter(start.position, "g1f3"), 40, true);
    BookBuildParameters p = sides(BookFromWinning | BookFromDrawing);
    p.minOccurrences = 2;
    // Nf3 Nf6 g3 occurs twice (once by transposition), everything else once.
    std::string path = pgn(game("1/2-1/2", "1. Nf3 Nf6 2. g3 d5") +
                           game("1/2-1/2", "1. g3 Nf6 2. Nf3 g6") + game("1/2-1/2", "1. d4 d5"));
    EXPECT_EQ(AddPgnToBook(book, path, p), 4);
    EXPECT_EQ(value("g1f3"), 40); // a plain value survives building
    EXPECT_EQ(value("g1f3 g8f6 g2g3"), 0);
    EXPECT_EQ(value("g1f3 g8f6"), BookEmptyValue);
    EXPECT_EQ(value("g2g3"), BookEmptyValue);
    EXPECT_EQ(value("d2d4 d7d5"), BookEmptyValue);
    EXPECT_EQ(book.positions, 2);
    // The same through a saved file, as the default book is made.
    OpeningBook counted;
    BuildBookFromPgn(counted, path, p);
    ASSERT_EQ(BookSave(counted, 2, dir.file("b.obk")), 1);
}

TEST_F(BookBuilderTest, UnusableInputChangesNothingAndBadGamesArePassedOver) {
    BookAdd(book, 99, 1, true);
    EXPECT_EQ(BuildBookFromPgn(book, dir.file("absent.pgn"), BookBuildParameters{}), 0);
    EXPECT_EQ(BuildBookFromPgn(book, dir.path(), BookBuildParameters{}), 0);
    EXPECT_EQ(AddPgnToBook(book, dir.file("absent.pgn"), BookBuildParameters{}), 0);
    EXPECT_EQ(book.positions, 1);
    EXPECT_EQ(BookFind(book, 99)->value, 1);

    // A game from a set-up position is not replayed from the start; an unplayable move ends
    // what is counted of its game; maxGames stops reading.
    std::string path =
        pgn(game("1/2-1/2", "1. e4 e5", "[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\"]\n") +
            game("1/2-1/2", "1. d4 Ke7 2. c4", "[FEN \"" + std::string(StartFen) + " 0 1\"]\n") +
            game("1/2-1/2", "1. c4 c5") + game("1/2-1/2", "1. g3 g6"));
    BookNew(book);
    BookBuildParameters p = sides(BookFromDrawing);
    p.maxGames = 3;
    EXPECT_EQ(BuildBookFromPgn(book, path, p), 4);
    EXPECT_EQ(value("e2e4"), BookEmptyValue);
    EXPECT_EQ(value("d2d4"), 101);
    EXPECT_EQ(value("c2c4 c7c5"), 101);
    EXPECT_EQ(value("g2g3"), BookEmptyValue);
    EXPECT_EQ(book.positions, 3);
}

TEST_F(BookBuilderTest, AFullPoolSkipsNewPositionsAndBuildingGoesOn) {
    test::RecordingReporter reporter;
    const uint64_t stride = OpeningBook::SlotCount;
    for (uint64_t layer = 0; layer < 3; ++layer)
        for (uint64_t slot = 0; slot < stride; ++slot) BookAddQuiet(book, slot + layer * stride, 1);
    uint64_t e4 = test::KeyAfter(start.position, "e2e4");
    for (uint64_t layer = 0; layer < 3; ++layer) // the slot of e4 becomes empty
        BookRemoveKey(book, (e4 & (stride - 1)) + layer * stride, true);
    ASSERT_EQ(BookFind(book, e4), nullptr);
    int before = book.positions;
    std::string path = pgn(game("1/2-1/2", "1. e4 e5 2. Nf3") + game("1/2-1/2", "1. e4 c5"));
    EXPECT_EQ(BuildBookFromPgn(book, path, sides(BookFromDrawing)), 3);
    EXPECT_EQ(value("e2e4"), 102);
    EXPECT_EQ(book.positions, before + 1);
    EXPECT_EQ(reporter.count("Book Full!"), 1);
}

} // namespace
} // namespace corvid
