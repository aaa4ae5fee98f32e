#include "search/exchange.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

int Sq(const char* name) { return ('8' - name[1]) * 8 + (name[0] - 'a'); }
Move M(const char* from, const char* to, int promotion = 0) {
    return MakeMoveCode(Sq(from), Sq(to), promotion);
}

struct SeeCase {
    const char* name;
    const char* fen;
    const char* from;
    const char* to;
    int threshold;
    bool expected;
};

void PrintTo(const SeeCase& c, std::ostream* out) { *out << c.name << " " << c.fen; }

class ExchangeTest : public ::testing::TestWithParam<SeeCase> {};

TEST_P(ExchangeTest, JudgesTheExchange) {
    const SeeCase& c = GetParam();
    test::FenPosition fp(c.fen);
    EXPECT_EQ(seeAtLeast(fp.position, M(c.from, c.to), c.threshold), c.expected) << c.fen;
}

const SeeCase SeeCases[] = {
    // 320 + 21 >= 340: the bishop may even be lost.
    {"BishopTakesKnightDefendedByPawn", "4k3/8/4p3/3n4/2B5/8/8/4K3 w - - 0 1", "c4", "d5", -21,
     true},
    {"BishopTakesKnightDefendedByPawnEvenly", "4k3/8/4p3/3n4/2B5/8/8/4K3 w - - 0 1", "c4", "d5", 0,
     false},
    // 100 + 21 + 100 < 522.
    {"RookTakesPawnDefendedByPawn", "4k3/8/4p3/3p4/8/8/8/3RK3 w - - 0 1", "d1", "d5", -21, false},
    {"QueenTakesUndefendedPawn", "4k3/8/8/3p4/8/8/8/3QK3 w - - 0 1", "d1", "d5", -21, true},
    {"KingTakesDefendedPawn", "4k3/8/8/8/8/3p4/4p3/4K3 w - - 0 1", "e1", "e2", -21, false},
    {"KingTakesUndefendedPawn", "4k3/8/8/8/8/8/4p3/4K3 w - - 0 1", "e1", "e2", -21, true},
    // The only defender is pinned to its king.
    {"PinnedDefenderDoesNotCount", "4k3/8/4p3/3p4/8/8/8/3RQ1K1 w - - 0 1", "d1", "d5", -21, true},
    // On the last row an own pawn beside keeps the square.
    {"PawnCoversThePromotionSquare", "3rk3/2P5/8/8/8/8/8/3RK3 w - - 0 1", "d1", "d8", 100, true},
    {"NoPawnCoversThePromotionSquare", "3rk3/8/8/8/8/8/8/3RK3 w - - 0 1", "d1", "d8", 100, false},
    // The promotion gain outweighs losing the pawn.
    {"PromotionPushDefendedByRook", "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7", "a8", -21, true},
    {"PawnPushLostToPawn", "4k3/8/8/3p4/8/4P3/8/4K3 w - - 0 1", "e3", "e4", -21, false},
    {"PawnPushDefended", "4k3/8/8/3p4/8/4PP2/8/4K3 w - - 0 1", "e3", "e4", -21, true},
    // A knight recaptures: 100 + 21 + 320 >= 320, so own defenders decide.
    {"KnightTakesPawnDefendedByKnight", "4k3/2n5/8/3p4/8/4N3/8/4K3 w - - 0 1", "e3", "d5", -21,
     false},
    {"KnightTakesPawnDefendedByKnightBacked", "4k3/2n5/8/3p4/8/4N3/8/3QK3 w - - 0 1", "e3", "d5",
     -21, true},
    // A cheap recapturer decides before any defender of ours counts.
    {"QueenTakesKnightDefendedByBishop", "4k3/8/8/3n4/2b2N2/8/8/3QK3 w - - 0 1", "d1", "d5", -21,
     false},
    {"RookTakesKnightDefendedByBishopOnly", "4k3/8/8/3n4/2b5/8/8/3RK3 w - - 0 1", "d1", "d5", -21,
     false},
    // Lines through the mover's square open for both sides.
    {"AttackerBehindTheMoversSquare", "4k3/8/8/3p4/3R4/8/7K/3r4 w - - 0 1", "d4", "d5", -21, false},
    {"OwnDefenderBehindTheMover", "3rk3/8/8/3p4/8/8/3R4/3RK3 w - - 0 1", "d2", "d5", -21, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, ExchangeTest, ::testing::ValuesIn(SeeCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(WinningCaptures, CountsSafeCapturesOfAttackedTargets) {
    // The knight on d5 attacks an undefended rook (c7), a bishop the king defends (e7) and a
    // pawn defended by a pawn (f6); only the rook is won.
    test::FenPosition fp("4k3/2r1b1p1/5p2/3N4/8/8/8/4K3 w - - 0 1");
    const Position& p = fp.position;
    Bitboard all = p.colourBB[Black];
    EXPECT_EQ(winningCapturesFrom(p, Sq("d5"), all), 1);
    EXPECT_EQ(winningCapturesFrom(p, Sq("d5"), SquareBB(Sq("c7"))), 1);
    EXPECT_EQ(winningCapturesFrom(p, Sq("d5"), SquareBB(Sq("e7"))), 0);
    EXPECT_EQ(winningCapturesFrom(p, Sq("d5"), SquareBB(Sq("g7"))), 0); // not attacked
    // The same knight imagined on b5, having left d5.
    EXPECT_EQ(winningCapturesFrom(p, Knight, Sq("b5"), SquareBB(Sq("d5")), all), 1);
}

TEST(DeltaWorthy, PromotionsCountAndUnderPromotionsNever) {
    test::FenPosition fp("4k3/1P6/8/3p4/4P3/8/8/4K3 w - - 0 1");
    const Position& p = fp.position;
    EXPECT_TRUE(deltaWorthy(p, M("e4", "d5"), 0, 100, 100));
    EXPECT_FALSE(deltaWorthy(p, M("e4", "d5"), 0, 101, 100));
    EXPECT_TRUE(deltaWorthy(p, M("b7", "b8", 0), 0, 884, 0));
    EXPECT_FALSE(deltaWorthy(p, M("b7", "b8", 0), 0, 885, 0));
    for (int code = 1; code < 4; ++code)
        EXPECT_FALSE(deltaWorthy(p, M("b7", "b8", code), 5000, 0, 0));
}

} // namespace
} // namespace corvid
