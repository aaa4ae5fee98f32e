// Mates found at fixed depth with their distance, mate and stalemate at the node, and the draws
// by repetition, fifty moves and bare minor pieces.
#include "chess/make_move.h"
#include "search/draw_detection.h"
#include "search/search.h"
#include "support/search_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

using test::SearchFen;

struct MateCase {
    const char* fen;
    int moves;             // mate in this many moves
    const char* firstMove; // nullptr when several moves mate as fast
};

class MateIn : public testing::TestWithParam<MateCase> {};

TEST_P(MateIn, IsFoundWithItsDistance) {
    const MateCase& c = GetParam();
    int depth = 2 * c.moves + 1;
    test::SearchRun run = SearchFen(c.fen, depth);
    EXPECT_EQ(run.score, MateValue - (2 * c.moves - 1)) << c.fen << " depth " << depth;
    if (c.firstMove) {
        EXPECT_EQ(run.bestText, c.firstMove) << c.fen;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Suite, MateIn,
    testing::Values(
        MateCase{"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", 1, "d1d8"},
        MateCase{"r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5Q2/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 1, "f3f7"},
        MateCase{"3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", 1, "d8d1"},
        MateCase{"6rk/6pp/7N/8/8/8/8/6K1 w - - 0 1", 1, "h6f7"},
        MateCase{"r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", 2, "d5f6"},
        MateCase{"r2qkbnr/ppp2ppp/2np4/4N3/2B1P1b1/2N5/PPPP1PPP/R1BbK2R w KQkq - 0 6", 2, "c4f7"},
        MateCase{"r1bq2r1/b4pk1/p1pp1p2/1p2pP2/1P2P1PB/3P4/1PPQ2P1/R3K2R w - - 0 1", 2, "d2h6"},
        MateCase{"6k1/pp4p1/2p5/2bp4/8/P5Pb/1P3rrP/2BRRN1K b - - 0 1", 2, "g2g1"},
        MateCase{"6k1/5p1p/6p1/8/8/8/1Q3PPP/1R4K1 w - - 0 1", 3, "b2f6"},
        MateCase{"r5rk/5p1p/5R2/4B3/8/8/7P/7K w - - 0 1", 3, "f6a6"},
        MateCase{"4k3/8/8/4K3/8/8/8/7R w - - 0 1", 3, nullptr},
        MateCase{"7k/8/8/4K3/8/8/8/6R1 w - - 0 1", 4, nullptr}));

// The node itself: a side without moves is mated in check and stalemated otherwise.
TEST(NodeWithoutMoves, ScoresMateInCheckAndDrawOtherwise) {
    test::SearchSettings settings;
    // Black is checkmated (back rank), and stalemated (king in the corner).
    for (auto [fen, expected] : {std::pair{"3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", -MateValue},
                                 std::pair{"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 0}}) {
        test::SearchRun run = test::PrepareSearch(fen);
        SearchContext& c = *run.context;
        c.rootPly = c.position.ply - 3; // the node sits at ply 3
        c.iterationDepth = 4;
        int v = searchNode(c, -MateValue, MateValue, 4, true, PvNode);
        EXPECT_EQ(v, expected == 0 ? 0 : 3 - MateValue) << fen;
        if (expected == 0) {
            EXPECT_EQ(c.stack[3].pv[0], DrawLineEnd) << fen;
        }
    }
}

TEST(NodeWithoutMoves, ExcludedOnlyMoveGivesAlpha) {
    test::SearchSettings settings;
    // White's only legal move is Kh2.
    test::SearchRun run = test::PrepareSearch("6r1/8/8/8/8/5k2/8/7K w - - 0 1");
    SearchContext& c = *run.context;
    MoveList legal;
    GenerateLegalMoves(c.position, legal);
    ASSERT_EQ(legal.count, 1);
    c.rootPly = c.position.ply - 2;
    c.iterationDepth = 4;
    c.stack[2].excludedMove = legal.moves[0];
    EXPECT_EQ(searchNode(c, -123, 77, 4, false, CutNode), -123);
}

// A position reached twice in the search line is a draw at once; before the root it takes two
// earlier occurrences.
TEST(Repetition, InsideTheSearchOnceBeforeTheRootTwice) {
    test::SearchRun run = test::PrepareSearch("4k3/8/8/8/8/8/4P3/4K2R w - - 0 10");
    SearchContext& c = *run.context;
    Position p = c.position;
    p.ply = 40;
    p.lastIrreversiblePly = 20;
    c.rootPly = 36;
    std::fill(std::begin(c.keyHistory), std::end(c.keyHistory), 0);
    EXPECT_FALSE(isDraw(c, p, c.rootPly));
    c.keyHistory[38] = p.key; // inside the search (at or after the root ply)
    EXPECT_TRUE(isDraw(c, p, c.rootPly));
    EXPECT_EQ(repetitionCount(c, p), 1);
    c.keyHistory[38] = 0;
    c.keyHistory[34] = p.key; // one occurrence before the root
    EXPECT_FALSE(isDraw(c, p, c.rootPly));
    c.keyHistory[30] = p.key; // a second one
    EXPECT_TRUE(isDraw(c, p, c.rootPly));
    EXPECT_EQ(repetitionCount(c, p), 2);
    c.keyHistory[35] = p.key; // other side to move: never counts
    EXPECT_EQ(repetitionCount(c, p), 2);
    p.lastIrreversiblePly = 32; // the older ones lie before the last pawn move or capture
    EXPECT_FALSE(isDraw(c, p, c.rootPly));
    EXPECT_EQ(repetitionCount(c, p), 1);
    c.keyHistory[36] = p.key; // the root position itself repeats
    EXPECT_TRUE(isDraw(c, p, c.rootPly));
}

TEST(Draw, FiftyMovesUnlessMatedAndBareMinorPieces) {
    test::SearchRun run = test::PrepareSearch("4k3/8/8/8/8/8/4P3/R3K3 w - - 0 1");
    SearchContext& c = *run.context;
    Position p = c.position;
    p.ply = 200;
    p.lastIrreversiblePly = 100;
    EXPECT_FALSE(isDraw(c, p, 0)); // 99 half moves played
    p.ply = 201;
    EXPECT_TRUE(isDraw(c, p, 0));

    test::FenPosition mated("R3k3/8/4K3/8/8/8/8/8 b - - 0 1");
    Position q = mated.position;
    q.ply = 201;
    q.lastIrreversiblePly = 100;
    EXPECT_FALSE(isDraw(c, q, 0)) << "a mate on the hundredth half move stands";

    for (const char* fen : {"8/8/4k3/8/8/3BK3/8/8 w - - 0 1", "8/8/4kn2/8/8/3BK3/8/8 w - - 0 1"})
        EXPECT_TRUE(isDraw(c, test::FenPosition(fen).position, 0)) << fen;
    for (const char* fen : {"8/8/4k3/8/8/2NBK3/8/8 w - - 0 1", "8/8/4k3/8/8/3RK3/8/8 w - - 0 1",
                            "8/8/4k3/8/8/3BK3/7p/8 w - - 0 1"})
        EXPECT_FALSE(isDraw(c, test::FenPosition(fen).position, 0)) << fen;
}

// A position seen twice before the root is a draw: the side a queen down steers into it, the
// side a queen up avoids it.
TEST(Repetition, TheSearchTakesOrAvoidsAGameRepetition) {
    for (auto [fen, losing] : {std::pair{"6k1/8/8/8/8/q7/8/6K1 w - - 0 1", true},
                               {"6k1/8/8/8/8/Q7/8/6K1 w - - 0 1", false}}) {
        test::SearchSettings settings;
        test::SearchRun run = test::PrepareSearch(fen);
        SearchContext& c = *run.context;
        Position root = c.rootPosition;
        root.ply = 20;
        root.lastIrreversiblePly = 0;
        Position after = root;
        MakeMoveWithCheck(after, MakeMoveCode(62, 61)); // Kg1-f1
        uint64_t keys[20] = {};
        keys[17] = keys[13] = after.key;
        setUpSearchContext(c, root, keys);
        ttClear();
        Move best = rootSearch(c, 4);
        EXPECT_EQ(best == MakeMoveCode(62, 61), losing) << fen;
        if (losing)
            EXPECT_EQ(c.rootLines[0].score, 0) << fen;
        else
            EXPECT_GT(c.rootLines[0].score, 500) << fen;
    }
}

} // namespace
} // namespace corvid
