// Book moves and the choice among them: values by side, repetitions, legality, preference.
#include "book/book_moves.h"
#include "book/book_test_helpers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace corvid {
namespace {

struct BookMovesTest : ::testing::Test {
    void SetUp() override { test::EnsureTables(); }
    test::FenPosition start{StartFen};
    OpeningBook book;

    void add(const Position& from, const std::string& moves, int value) {
        BookAdd(book, test::KeyAfter(from, moves), value, true);
    }
    std::string text(const Position& p, Move move) {
        char buffer[8];
        FormatCoordinate(buffer, move, p, false);
        return buffer;
    }
    // How often each move comes out over many clock readings and generator states.
    std::map<std::string, int> choices(const Position& p, const uint64_t* keys, int draws) {
        std::map<std::string, int> seen;
        KeyRandom random;
        random.Skip(32);
        for (int i = 0; i < draws; ++i) {
            Move move = ChooseBookMove(book, p, keys, random, i * 7);
            ++seen[move ? text(p, move) : "none"];
        }
        return seen;
    }
};

TEST_F(BookMovesTest, ListsStoredMovesInGenerationOrderWithTheirValues) {
    const Position& p = start.position;
    add(p, "e2e4", 1);
    add(p, "d2d4", -2);
    add(p, "g1f3", 0);
    BookAdd(book, 0x1234, 1, true); // no move reaches it
    BookMoveList list;
    ASSERT_EQ(BookMoves(book, p, nullptr, list), 3);
    std::map<std::string, int> found;
    for (int i = 0; i < list.count; ++i) found[text(p, list.moves[i])] = list.values[i];
    EXPECT_EQ(found, (std::map<std::string, int>{{"d2d4", -2}, {"e2e4", 1}, {"g1f3", 0}}));
    // Generation order, as the desktop's colour marks follow it.
    MoveList all;
    GenerateAllMoves(p, all);
    int last = -1;
    for (int i = 0; i < list.count; ++i) {
        int at = int(std::find(all.moves, all.moves + all.count, list.moves[i]) - all.moves);
        EXPECT_GT(at, last);
        last = at;
    }
    BookRemoveKey(book, test::KeyAfter(p, "e2e4"), true);
    EXPECT_EQ(BookMoves(book, p, nullptr, list), 2);
}

TEST_F(BookMovesTest, OnlyValuesForTheSideToMoveAreChosen) {
    const Position& p = start.position;
    add(p, "e2e4", -5);
    add(p, "d2d4", 0);
    add(p, "c2c4", 1);
    auto white = choices(p, nullptr, 400);
    EXPECT_EQ(white.count("e2e4"), 0u);
    EXPECT_GT(white["d2d4"], 0);
    EXPECT_GT(white["c2c4"], 0);

    test::FenPosition afterE4("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    const Position& q = afterE4.position;
    add(q, "e7e5", 5);
    add(q, "c7c5", -1);
    auto black = choices(q, nullptr, 400);
    EXPECT_EQ(black, (std::map<std::string, int>{{"c7c5", 400}}));

    add(q, "c7c5", 3);
    EXPECT_EQ(choices(q, nullptr, 10), (std::map<std::string, int>{{"none", 10}}));
    EXPECT_FALSE(HasBookMove(book, q, nullptr));
    EXPECT_TRUE(HasBookMove(book, p, nullptr));
}

TEST_F(BookMovesTest, StrongerValuesArePreferredButEveryMoveComesOut) {
    const Position& p = start.position;
    add(p, "e2e4", 2);
    add(p, "d2d4", 0);
    add(p, "c2c4", 0);
    add(p, "g1f3", 1);
    auto seen = choices(p, nullptr, 4000);
    EXPECT_EQ(seen.size(), 4u);
    // One pick of four, then up to two more while the pick is weak: e2e4 comes out in
    // 1/4 + 3/4 * (1/4 + 1/2 * 1/4) of the choices, about 53%.
    EXPECT_NEAR(seen["e2e4"] / 4000.0, 0.53, 0.05);
    // The clock decides: a different reading varies the choice.
    std::set<Move> moves;
    for (int64_t clock = 0; clock < 64; ++clock) {
        KeyRandom random;
        moves.insert(ChooseBookMove(book, p, nullptr, random, clock));
    }
    EXPECT_GE(moves.size(), 3u);
}

TEST_F(BookMovesTest, AMoveRepeatingAGamePositionIsNotOffered) {
    Position p = start.position;
    uint64_t keys[64] = {};
    test::PlayMoves(p, "g1f3 g8f6 f3g1 f6g8", keys); // back at the start, ply 4
    add(start.position, "g1f3", 0);
    add(start.position, "e2e4", 0);
    BookMoveList list;
    ASSERT_EQ(BookMoves(book, p, keys, list), 1);
    EXPECT_EQ(text(p, list.moves[0]), "e2e4");
    EXPECT_EQ(BookMoves(book, p, nullptr, list), 2);

    // A capture or pawn move in between ends the repetition window.
    Position q = start.position;
    test::PlayMoves(q, "e2e4 e7e5 g1f3 b8c6 f3g1 c6b8", keys);
    add(q, "g1f3", 0);
    EXPECT_EQ(BookMoves(book, q, keys, list), 0);
    Position r = start.position;
    test::PlayMoves(r, "g1f3 b8c6 f3g1 c6b8 e2e4 e7e5", keys);
    EXPECT_EQ(BookMoves(book, r, keys, list), 1); // g1f3 after the pawn moves is new
}

TEST_F(BookMovesTest, DamagedBooksNeverProduceIllegalMoves) {
    // The bishop on e2 is pinned; its moves are pseudo-legal but not legal.
    test::FenPosition pinned("4r1k1/8/8/8/8/8/4B3/4K3 w - - 0 1");
    const Position& p = pinned.position;
    MoveList all;
    GenerateAllMoves(p, all);
    int stored = 0;
    for (int i = 0; i < all.count; ++i) {
        Position after = p;
        MakeMoveWithCheck(after, all.moves[i]);
        stored += BookAdd(book, ComputeKey(after), 2, true) == BookAddResult::Added;
    }
    ASSERT_EQ(stored, all.count);
    BookMoveList list;
    BookMoves(book, p, nullptr, list);
    std::set<std::string> found;
    for (int i = 0; i < list.count; ++i) found.insert(text(p, list.moves[i]));
    EXPECT_EQ(found, (std::set<std::string>{"e1d1", "e1d2", "e1f1", "e1f2"}));
    // In check only the legal evasions come out.
    test::FenPosition check("4r1k1/8/8/8/8/8/3B4/4K3 w - - 0 1");
    const Position& q = check.position;
    all.count = 0;
    GenerateAllMoves(q, all);
    for (int i = 0; i < all.count; ++i) {
        Position after = q;
        MakeMoveWithCheck(after, all.moves[i]);
        BookAdd(book, ComputeKey(after), 0, true);
    }
    BookMoves(book, q, nullptr, list);
    found.clear();
    for (int i = 0; i < list.count; ++i) found.insert(text(q, list.moves[i]));
    EXPECT_EQ(found, (std::set<std::string>{"e1d1", "e1f1", "e1f2", "d2e3"}));
}

} // namespace
} // namespace corvid
