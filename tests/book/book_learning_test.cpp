// Learning after a lost game: the loser's book moves go, the winner's stay.
#include "book/book_learning.h"
#include "book/book_test_helpers.h"
#include "chess/move_text.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvid {
namespace {

struct BookLearningTest : ::testing::Test {
    OpeningBook book;
    test::FenPosition start{StartFen};

    void SetUp() override {
        Position p;
        ASSERT_TRUE(SetPositionFromFen(p, StartFen, &gameCastleInfo));
        StartGameRecord(p);
    }
    void play(const std::string& moves) {
        std::istringstream in(moves);
        for (std::string move; in >> move;)
            ASSERT_TRUE(ParseAndPlayMove(move, gamePosition, true, gameRecord)) << move;
    }
    void add(const std::string& line) {
        BookAdd(book, test::KeyAfter(start.position, line), 0, true);
    }
    bool has(const std::string& line) {
        return BookFind(book, test::KeyAfter(start.position, line)) != nullptr;
    }
};

TEST_F(BookLearningTest, RemovesTheLosersMovesBackToItsLastOtherChoice) {
    for (const char* line : {"e2e4", "e2e4 e7e5", "e2e4 c7c5", "e2e4 e7e5 g1f3",
                             "e2e4 e7e5 g1f3 b8c6", "e2e4 e7e5 g1f3 b8c6 f1b5"})
        add(line);
    play("e4 e5 Nf3 Nc6 Bb5 a6 Ba4 Nf6 O-O Be7");
    // Black lost: its moves e5 and Nc6 were its only choices after e4 ... Nf3, so learning goes
    // back to the first move, where c5 is still in the book.
    EXPECT_TRUE(BookLearn(book, gameRecord, gamePosition.ply, WhiteWon));
    EXPECT_FALSE(has("e2e4 e7e5"));
    EXPECT_FALSE(has("e2e4 e7e5 g1f3 b8c6"));
    for (const char* kept : {"e2e4", "e2e4 c7c5", "e2e4 e7e5 g1f3", "e2e4 e7e5 g1f3 b8c6 f1b5"})
        EXPECT_TRUE(has(kept)) << kept;
    EXPECT_EQ(book.positions, 4);
    // The game position is untouched.
    EXPECT_EQ(gamePosition.ply, 10);
}

TEST_F(BookLearningTest, StopsAtTheFirstOtherChoiceAndIgnoresDrawsAndWins) {
    for (const char* line : {"d2d4", "e2e4", "e2e4 e7e5", "e2e4 e7e5 g1f3", "e2e4 e7e5 f1c4"})
        add(line);
    play("e4 e5 Nf3 Nc6 Bc4 Bc5");
    // A draw, or an undecided game, teaches nothing.
    EXPECT_FALSE(BookLearn(book, gameRecord, gamePosition.ply, 3));
    EXPECT_FALSE(BookLearn(book, gameRecord, gamePosition.ply, 0));
    EXPECT_EQ(book.positions, 5);
    // White lost: Nf3 goes; after e4 e5 white still has Bc4.
    EXPECT_TRUE(BookLearn(book, gameRecord, gamePosition.ply, BlackWon));
    EXPECT_FALSE(has("e2e4 e7e5 g1f3"));
    EXPECT_EQ(book.positions, 4);
    // Again: Bc4 was not played, so nothing more goes.
    EXPECT_TRUE(BookLearn(book, gameRecord, gamePosition.ply, BlackWon));
    EXPECT_EQ(book.positions, 4);
    // Learning from a game where the loser had no other choice ever empties its side only.
    OpeningBook single;
    BookAdd(single, test::KeyAfter(start.position, "e2e4"), 0, true);
    BookAdd(single, test::KeyAfter(start.position, "e2e4 e7e5"), 0, true);
    EXPECT_FALSE(BookLearn(single, gameRecord, gamePosition.ply, BlackWon));
    EXPECT_EQ(single.positions, 1);
    EXPECT_NE(BookFind(single, test::KeyAfter(start.position, "e2e4 e7e5")), nullptr);
}

} // namespace
} // namespace corvid
