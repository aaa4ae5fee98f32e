#include "eval/search_personality.h"
#include "search/check_moves.h"
#include "search/threat.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

int Sq(const char* name) { return ('8' - name[1]) * 8 + (name[0] - 'a'); }
Move M(const char* from, const char* to) { return MakeMoveCode(Sq(from), Sq(to)); }

struct ThreatCase {
    const char* name;
    const char* fen;
    const char* from;
    const char* to;
    int expected;
    const char* mateFrom = nullptr; // the follow-up of class 4
    const char* mateTo = nullptr;
};

void PrintTo(const ThreatCase& c, std::ostream* out) { *out << c.name << " " << c.fen; }

class ThreatClass : public ::testing::TestWithParam<ThreatCase> {
protected:
    void SetUp() override { activePersonality.switches.threatMoveDetection = true; }
};

TEST_P(ThreatClass, ClassifiesTheMove) {
    const ThreatCase& c = GetParam();
    test::FenPosition fp(c.fen);
    Move mate = NoMove;
    EXPECT_EQ(threatClassOf(fp.position, M(c.from, c.to), &mate), c.expected) << c.fen;
    if (c.mateFrom) {
        EXPECT_EQ(mate, M(c.mateFrom, c.mateTo)) << c.fen;
    }
}

const ThreatCase ThreatCases[] = {
    // Pawns.
    {"PawnToSeventhSafeAndFree", "4k3/8/1P6/8/8/8/8/4K3 w - - 0 1", "b6", "b7", 5},
    {"PawnToSeventhBlocked", "1n2k3/8/1P6/8/8/8/8/4K3 w - - 0 1", "b6", "b7", 3},
    {"PawnToSeventhUnsafe", "4k3/7r/1P6/8/8/8/8/4K3 w - - 0 1", "b6", "b7", 3},
    {"BlackPawnToSecond", "4k3/8/8/8/8/1p6/8/4K3 b - - 0 1", "b3", "b2", 5},
    {"PawnForksTwoPieces", "4k3/8/2n1b3/8/3PP3/8/8/4K3 w - - 0 1", "d4", "d5", 3},
    {"PawnAttacksOnePiece", "4k3/8/2n5/8/3PP3/8/8/4K3 w - - 0 1", "d4", "d5", 2},
    {"PawnForkThatHangsIsNothing", "7k/8/2n1b3/8/3P4/8/8/4K3 w - - 0 1", "d4", "d5", 0},
    {"HangingPawnNearTheKingZone", "4k3/8/2n1b3/8/3P4/8/8/4K3 w - - 0 1", "d4", "d5", 1},
    {"PassedPawnAdvances", "4k3/8/8/8/3P4/8/8/4K3 w - - 0 1", "d4", "d5", 1},
    {"PawnFacingAnEnemyPawn", "4k3/p7/8/8/8/8/1P6/4K3 w - - 0 1", "b2", "b4", 0},
    {"PawnWithNeighbour", "4k3/pp2pppp/8/8/4P3/8/3P4/4K3 w - - 0 1", "d2", "d4", 1},
    {"LonePawnStepsNothing", "4k3/pp2pppp/8/8/8/8/3P4/4K3 w - - 0 1", "d2", "d4", 0},
    {"PawnStaysAtHomeHalf", "4k3/pp2pppp/8/8/8/8/3PP3/4K3 w - - 0 1", "d2", "d3", 0},
    // Knights.
    {"KnightForksKingAndRook", "r3k3/8/8/1N6/8/8/8/4K3 w - - 0 1", "b5", "c7", 3},
    {"KnightAttacksOnlyTheQueen", "4k3/8/8/8/4q3/8/8/KN6 w - - 0 1", "b1", "c3", 2},
    {"KnightLandsWhereAPawnTakesIt", "4k3/8/8/8/3p4/8/8/1N2K3 w - - 0 1", "b1", "c3", -1},
    {"KnightAttacksAFreePawn", "4k3/8/8/3p4/8/8/8/1N2K3 w - - 0 1", "b1", "c3", 1},
    // Bishops.
    {"BishopSkewersQueenAndRook", "4k3/8/4r3/3q4/8/8/P7/3BK3 w - - 0 1", "d1", "b3", 3},
    {"BishopAttacksTheQueen", "4k3/8/8/3q4/8/8/P7/3BK3 w - - 0 1", "d1", "b3", 2},
    {"BishopPinsAKnight", "4k3/8/2n5/8/8/8/8/3BK3 w - - 0 1", "d1", "a4", 2},
    // Rooks.
    {"RookPreparesAMateOnTheLastRank", "7k/7p/5N2/8/8/8/R7/6K1 w - - 0 1", "a2", "g2", 4, "g2",
     "g8"},
    {"RookAttacksQueenAndKing", "4k3/8/8/8/q6R/5K2/8/8 w - - 0 1", "h4", "e4", 3},
    {"RookPinsQueenToKing", "3k4/8/8/3q4/8/8/4K3/R7 w - - 0 1", "a1", "d1", 3},
    {"RookAttacksTheQueen", "4k3/8/8/3q4/8/8/2K5/R7 w - - 0 1", "a1", "d1", 2},
    {"RookHangsToTheQueen", "4k3/8/8/3q4/8/8/8/R5K1 w - - 0 1", "a1", "a5", -1},
    {"RookOnTheBackRankWithSupport", "5rk1/2P2ppp/8/8/8/8/8/3R2K1 w - - 0 1", "d1", "d8", 2},
    // Queens.
    {"QueenPreparesAMateOnG7", "7k/6pp/8/8/8/8/1B6/3Q2K1 w - - 0 1", "d1", "d4", 4, "d4", "g7"},
    {"QueenForksTwoKnights", "4k3/8/1n3n2/8/8/8/8/3QK3 w - - 0 1", "d1", "d4", 3},
    {"QueenHangsToAPawn", "4k3/8/8/2p5/8/8/8/3QK3 w - - 0 1", "d1", "d4", -1},
    // Kings.
    {"CastlingIsAThreatOfItsOwnKind", "4k3/8/8/8/8/8/8/4K2R w K - 0 1", "e1", "h1", 1},
    {"KingTakesNothingOnTheWay", "4k3/8/8/8/8/8/8/4K2R w - - 0 1", "e1", "f2", 0},
    {"KingForksTwoFreePieces", "4k3/8/8/8/2n1n3/8/2K5/8 w - - 0 1", "c2", "d3", 3},
    {"KingHuntsAFreePawnInThePawnEnding", "4k3/8/8/3p4/8/2K5/8/8 w - - 0 1", "c3", "d4", 2},
};

INSTANTIATE_TEST_SUITE_P(Cases, ThreatClass, ::testing::ValuesIn(ThreatCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ThreatClassSwitch, OffLeavesOnlyTheHangingTest) {
    test::FenPosition fork("r3k3/8/8/1N6/8/8/8/4K3 w - - 0 1");
    test::FenPosition hang("4k3/8/8/8/3p4/8/8/1N2K3 w - - 0 1");
    activePersonality.switches.threatMoveDetection = false;
    EXPECT_EQ(threatClassOf(fork.position, M("b5", "c7")), 0);
    EXPECT_EQ(threatClassOf(hang.position, M("b1", "c3")), -1);
    activePersonality.switches.threatMoveDetection = true;
}

TEST(DiscoveredTargets, PiecesNewlyAttackedThroughTheVacatedSquare) {
    // The bishop b2 looks through the knight on d4 at the queen on f6 and the rook on h8.
    test::FenPosition fp("4k2r/8/5q2/8/3N4/8/1B6/4K3 w - - 0 1");
    const Position& p = fp.position;
    Bitboard all = p.colourBB[Black];
    EXPECT_EQ(discoveredTargets(p, Sq("d4"), Sq("e6"), White, all), SquareBB(Sq("f6")));
    // Moving along the line uncovers nothing.
    EXPECT_EQ(discoveredTargets(p, Sq("d4"), Sq("e5"), White, all), 0u);
}

TEST(EscapeMoves, AttackedPiecesThatMustMove) {
    struct Case {
        const char* fen;
        const char* from;
        bool escape;
    } cases[] = {
        {"4k3/8/8/8/4N3/8/8/4K3 w - - 0 1", "e4", false},  // not attacked
        {"4k3/8/3p4/4N3/8/8/8/4K3 w - - 0 1", "e5", true}, // minor attacked by a pawn
        {"4k3/8/3p4/4N3/3P4/8/8/4K3 w - - 0 1", "e5", true},
        {"4k3/8/8/1n6/8/2R5/8/4K3 w - - 0 1", "c3", true}, // rook attacked by a knight
        {"4k3/8/8/1n6/8/2R5/1P6/4K3 w - - 0 1", "c3", true},
        {"4k3/2r5/8/8/8/2N5/8/4K3 w - - 0 1", "c3", true},    // undefended
        {"4k3/2r5/8/8/8/2N5/1P6/4K3 w - - 0 1", "c3", false}, // defended, attacked by more
        {"4k3/2r5/8/8/8/2Q5/1P6/4K3 w - - 0 1", "c3", true},  // queen attacked by a rook
        {"3k4/8/8/8/3b4/2P5/8/7K b - - 0 1", "d4", true},     // black, attacked by a pawn
        {"r3k3/8/8/8/3b4/8/4N3/4K3 b - - 0 1", "d4", true},   // by a knight, undefended
    };
    for (const Case& c : cases) {
        test::FenPosition fp(c.fen);
        EXPECT_EQ(isEscapeMove(fp.position, M(c.from, c.from)), c.escape) << c.fen;
    }
    // A pinned attacker does not count.
    test::FenPosition pinned("4k3/4r3/8/8/3b4/8/4N3/4K3 b - - 0 1");
    EXPECT_FALSE(isEscapeMove(pinned.position, M("d4", "d4")));
}

TEST(BackRankSupport, PawnGuards) {
    test::FenPosition fp("6k1/2P2ppp/1P6/8/8/8/8/6K1 w - - 0 1");
    const Position& p = fp.position;
    EXPECT_EQ(backRankSupport(p, Sq("d8")), 2);
    EXPECT_EQ(backRankSupport(p, Sq("a8")), 1); // the pawn b6 guards a7
    EXPECT_EQ(backRankSupport(p, Sq("e8")), 0);
    EXPECT_EQ(backRankSupport(p, Sq("d7")), 0); // not the back rank
    test::FenPosition black("6k1/8/8/8/8/8/3p4/6K1 b - - 0 1");
    EXPECT_EQ(backRankSupport(black.position, Sq("e1")), 2);
}

TEST(KingBlockMask, ThreeByThreeMovedInward) {
    test::EnsureTables();
    EXPECT_EQ(PopCount(KingBlock(Sq("a8"))), 9);
    EXPECT_EQ(KingBlock(Sq("a8")), KingBlock(Sq("b7")));
    EXPECT_EQ(KingBlock(Sq("h1")), KingBlock(Sq("g2")));
    EXPECT_TRUE(KingBlock(Sq("e4")) & SquareBB(Sq("e4")));
}

} // namespace
} // namespace corvid
