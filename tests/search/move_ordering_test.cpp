#include "search/move_ordering.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace corvid {
namespace {

Move M(int from, int to, int promotion = 0) { return MakeMoveCode(from, to, promotion); }

// Squares by name, for readability: Sq("e4").
int Sq(const char* name) { return ('8' - name[1]) * 8 + (name[0] - 'a'); }

TEST(CaptureKeys, VictimFirstThenCheapestAttackerAndPromotionGains) {
    // White pawn b4 takes a queen a5, queen d1 takes pawn d7; promotions on the seventh.
    test::FenPosition fp("r3k3/1P1p4/8/q7/1P6/8/8/3QK3 w - - 0 1");
    const Position& p = fp.position;
    EXPECT_EQ(CaptureKey(p, M(Sq("b4"), Sq("a5"))), 31388); // PxQ
    EXPECT_EQ(CaptureKey(p, M(Sq("d1"), Sq("d7"))), 2216);  // QxP
    EXPECT_EQ(CaptureKey(p, M(Sq("b7"), Sq("b8"), 0)), 884 * 32 - 100);
    EXPECT_EQ(CaptureKey(p, M(Sq("b7"), Sq("b8"), 1)), 220 * 32 - 100);
    EXPECT_EQ(CaptureKey(p, M(Sq("b7"), Sq("b8"), 2)), 422 * 32 - 100);
    EXPECT_EQ(CaptureKey(p, M(Sq("b7"), Sq("b8"), 3)), 240 * 32 - 100);
    EXPECT_EQ(CaptureKey(p, M(Sq("b7"), Sq("a8"), 0)), (522 + 884) * 32 - 100);
    // A quiet move: the cheapest mover first.
    EXPECT_EQ(CaptureKey(p, M(Sq("e1"), Sq("e2"))), -3000);
}

TEST(CaptureKeys, CastlingIsNotACaptureOfTheOwnRook) {
    test::FenPosition fp("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    EXPECT_EQ(CaptureKey(fp.position, M(Sq("e1"), Sq("h1"))), -3000);
}

TEST(EvasionKeys, CapturesAheadOfEverythingWithPromotionGains) {
    // Black rook b8 checks along the eighth rank? No: the white king on a2 is checked by the
    // rook on a8; b7xa8 promotes while capturing the checker.
    test::FenPosition fp("r3k3/1P6/8/8/8/8/K7/8 w - - 0 1");
    const Position& p = fp.position;
    auto history = std::make_unique<MoveHistory>();
    ClearHistory(*history);
    history->mainHistory[HistoryGroup(p.board[Sq("a2")])][M(Sq("a2"), Sq("b3")) & 4095] = 9000;
    ScoredMoveList list;
    list.count = 0;
    list.Add(M(Sq("a2"), Sq("b3")));
    list.Add(M(Sq("b7"), Sq("a8"), 0));
    list.Add(M(Sq("b7"), Sq("a8"), 1));
    scoreEvasions(list, p, *history, 0);
    EXPECT_EQ(list.keys[0], 9000);
    EXPECT_EQ(list.keys[1], 500000000 + 522 * 32 - 100 + 28288);
    EXPECT_EQ(list.keys[2], 500000000 + 522 * 32 - 100 + 7040);
}

TEST(History, UpdateRule) {
    int16_t h = 16000;
    historyUpdate(h, 122);
    EXPECT_EQ(h, 16003);
    h = -16000;
    historyUpdate(h, -122);
    EXPECT_EQ(h, -16003);
    h = 0;
    historyUpdate(h, 10);
    EXPECT_EQ(h, 10);
    historyUpdate(h, -9);
    EXPECT_EQ(h, 1);
    // A reward to a negative entry is an ordinary update.
    h = -100;
    historyUpdate(h, 10);
    EXPECT_EQ(h, -90);
    // Repeated rewards and penalties stay within the 16-bit range.
    h = 0;
    for (int i = 0; i < 10000; ++i) historyUpdate(h, 122);
    EXPECT_LE(h, 16384);
    EXPECT_GT(h, 16000);
    for (int i = 0; i < 10000; ++i) historyUpdate(h, -122);
    EXPECT_GE(h, -16384);
    EXPECT_LT(h, -16000);
}

TEST(Killers, ShiftOnNewMoveOnly) {
    Move killers[2] = {0, 0};
    updateKillers(killers, 100);
    EXPECT_EQ(killers[1], 100);
    EXPECT_EQ(killers[0], 0);
    updateKillers(killers, 200);
    EXPECT_EQ(killers[1], 200);
    EXPECT_EQ(killers[0], 100);
    updateKillers(killers, 200); // already slot 1: no change
    EXPECT_EQ(killers[1], 200);
    EXPECT_EQ(killers[0], 100);
    updateKillers(killers, 100); // slot 0 comes back to slot 1
    EXPECT_EQ(killers[1], 100);
    EXPECT_EQ(killers[0], 200);
    updateKillers(killers, 0x8001); // markers never become killers
    EXPECT_EQ(killers[1], 100);
}

class QuietStats : public ::testing::Test {
protected:
    void SetUp() override {
        history = std::make_unique<MoveHistory>();
        ClearHistory(*history);
    }
    int16_t Main(const Position& p, Move m) {
        return history->mainHistory[HistoryGroup(p.board[MoveFrom(m)])][m & 4095];
    }
    int16_t Cont1(const Position& p, int prev1, Move m) {
        return history->continuation1[prev1][p.board[MoveFrom(m)]][MoveTo(m)];
    }
    int16_t Cont2(const Position& p, int prev2, Move m) {
        return history->continuation2[prev2][p.board[MoveFrom(m)]][MoveTo(m)];
    }
    std::unique_ptr<MoveHistory> history;
    Move killers[2] = {0, 0};
};

TEST_F(QuietStats, RewardsTheBestQuietMoveAndPenalisesTheOthers) {
    test::FenPosition fp("4k3/8/8/3p4/8/2N5/8/R3K3 w Q - 0 1");
    const Position& p = fp.position;
    Move best = M(Sq("c3"), Sq("b5")), other = M(Sq("a1"), Sq("a7"));
    Move capture = M(Sq("c3"), Sq("d5"));
    const Move tried[] = {capture, other, 0, best};
    int prev1 = PieceTo(MakePiece(Black, Pawn), Sq("d5")), prev2 = 700;
    updateQuietStats(*history, killers, p, best, 6, 3, prev1, prev2, tried, 4);
    EXPECT_EQ(killers[1], best);
    EXPECT_EQ(history->counterMoves[prev1], best);
    EXPECT_EQ(Main(p, best), 10); // 3 x 3 + 1
    EXPECT_EQ(Cont1(p, prev1, best), 10);
    EXPECT_EQ(Cont2(p, prev2, best), 10);
    EXPECT_EQ(Main(p, other), -9);
    EXPECT_EQ(Cont1(p, prev1, other), -9);
    EXPECT_EQ(Cont2(p, prev2, other), -9);
    EXPECT_EQ(Main(p, capture), 0); // captures are not penalised
}

TEST_F(QuietStats, ShallowCutOffsSetKillersAndCountersButNoHistory) {
    test::FenPosition fp("4k3/8/8/3p4/8/2N5/8/R3K3 w Q - 0 1");
    const Position& p = fp.position;
    Move best = M(Sq("c3"), Sq("b5"));
    updateQuietStats(*history, killers, p, best, 2, 3, 77, 0, nullptr, 0);
    EXPECT_EQ(killers[1], best);
    EXPECT_EQ(history->counterMoves[77], best);
    EXPECT_EQ(Main(p, best), 0);
    updateQuietStats(*history, killers, p, best, 3, 3, 77, 0, nullptr, 0); // 1.5 plies
    EXPECT_EQ(Main(p, best), 0);
    // Capped at 11 plies: 121 + 1.
    updateQuietStats(*history, killers, p, best, 40, 3, 0, 0, nullptr, 0);
    EXPECT_EQ(Main(p, best), 122);
}

TEST_F(QuietStats, NoCounterMoveAtTheRootInCheckOrWithoutAPreviousMove) {
    test::FenPosition quiet("4k3/8/8/8/8/2N5/8/4K3 w - - 0 1");
    Move knight = M(Sq("c3"), Sq("b5"));
    updateQuietStats(*history, killers, quiet.position, knight, 4, 0, 55, 0, nullptr, 0);
    EXPECT_EQ(history->counterMoves[55], 0);
    updateQuietStats(*history, killers, quiet.position, knight, 4, 2, 0, 66, nullptr, 0);
    EXPECT_EQ(history->counterMoves[0], 0);
    // Without prev1 the two-ply continuation is not touched either.
    EXPECT_EQ(Cont2(quiet.position, 66, knight), 0);
    test::FenPosition check("4k3/8/8/8/8/2N5/8/r3K3 w - - 0 1");
    Move king = M(Sq("e1"), Sq("e2"));
    updateQuietStats(*history, killers, check.position, king, 4, 2, 55, 0, nullptr, 0);
    EXPECT_EQ(history->counterMoves[55], 0);
    EXPECT_EQ(killers[1], king);
}

TEST_F(QuietStats, PromotionsAndCapturesAreNotQuietForEitherColour) {
    test::FenPosition white("4k3/1P6/8/8/8/8/6p1/4K3 w - - 0 1");
    test::FenPosition black("4k3/1P6/8/8/8/8/6p1/4K3 b - - 0 1");
    updateQuietStats(*history, killers, white.position, M(Sq("b7"), Sq("b8"), 1), 8, 2, 5, 0,
                     nullptr, 0);
    updateQuietStats(*history, killers, black.position, M(Sq("g2"), Sq("g1"), 1), 8, 2, 5, 0,
                     nullptr, 0);
    EXPECT_EQ(killers[1], 0);
    EXPECT_EQ(history->counterMoves[5], 0);
    EXPECT_EQ(Main(black.position, M(Sq("g2"), Sq("g1"), 1)), 0);
    // En passant has an empty target square: quiet here.
    test::FenPosition ep("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    EXPECT_TRUE(IsQuietMove(ep.position, M(Sq("e5"), Sq("d6"))));
}

TEST(MoveToFront, ShiftsTheMovesBetween) {
    MoveList list;
    for (Move m : {10, 20, 30, 40, 50}) list.Add(m);
    EXPECT_TRUE(moveToFront(list, 40, 1));
    EXPECT_EQ(std::vector<Move>(list.moves, list.moves + 5),
              (std::vector<Move>{10, 40, 20, 30, 50}));
    EXPECT_FALSE(moveToFront(list, 10, 0)); // at index 0: stays
    EXPECT_FALSE(moveToFront(list, 40, 2)); // before k: stays
    EXPECT_FALSE(moveToFront(list, 99, 0));
    EXPECT_FALSE(moveToFront(list, 0, 0));
    EXPECT_TRUE(moveToFront(list, 50, 0));
    EXPECT_EQ(std::vector<Move>(list.moves, list.moves + 5),
              (std::vector<Move>{50, 10, 40, 20, 30}));
}

TEST(SortMoves, DescendingAndStable) {
    ScoredMoveList list;
    list.count = 0;
    const int keys[] = {5, 9, 5, -3, 9, 5};
    for (int i = 0; i < 6; ++i) {
        list.Add(Move(i + 1));
        list.keys[i] = keys[i];
    }
    SortMoves(list, 0, 6);
    EXPECT_EQ(std::vector<Move>(list.moves, list.moves + 6), (std::vector<Move>{2, 5, 1, 3, 6, 4}));
}

} // namespace
} // namespace corvid
