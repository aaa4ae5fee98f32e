// Analysis with several lines: each slot searches the root moves after the better slots' moves.
#include "support/search_support.h"

#include <gtest/gtest.h>

#include <set>

namespace corvid {
namespace {

TEST(MultiLine, SlotsHoldDistinctMovesInOrder) {
    const char* fen = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 1";
    test::SearchRun run = test::SearchFen(fen, 6, {}, 3);
    const SearchContext& c = *run.context;
    std::set<Move> moves;
    for (int i = 0; i < 3; ++i) {
        const RootLine& line = c.rootLines[i];
        EXPECT_EQ(line.depth, 12) << "slot " << i;
        EXPECT_EQ(line.move, c.rootMoves.moves[i]) << "slot " << i;
        EXPECT_GT(line.pvLength, 0);
        EXPECT_EQ(line.pv[0], line.move);
        moves.insert(line.move);
        if (i > 0) {
            EXPECT_LE(line.score, c.rootLines[i - 1].score) << "slot " << i;
        }
    }
    EXPECT_EQ(moves.size(), 3u);
    EXPECT_EQ(c.rootLines[3].move, NoMove) << "only three slots searched";
}

// The mate goes to slot 0; the second slot searches the other moves and finds no mate.
TEST(MultiLine, SecondSlotExcludesTheFirstSlotsMove) {
    const char* fen = "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1";
    test::SearchRun run = test::SearchFen(fen, 4, {}, 2);
    const SearchContext& c = *run.context;
    EXPECT_EQ(test::MoveText(c.rootLines[0].move, c.rootPosition), "d1d8");
    EXPECT_EQ(c.rootLines[0].score, MateValue - 1);
    EXPECT_NE(c.rootLines[1].move, c.rootLines[0].move);
    EXPECT_LT(c.rootLines[1].score, MateThreshold);
    EXPECT_EQ(c.iterationDepth, 8) << "several lines do not stop at the first mate";

    test::SearchRun single = test::SearchFen(fen, 4);
    EXPECT_EQ(single.context->iterationDepth, 2) << "a single line stops at a mate it proved";
}

TEST(MultiLine, MoreLinesThanMovesSearchesEachMoveOnce) {
    test::SearchRun run = test::SearchFen("6r1/8/8/p7/P7/5k2/8/7K w - - 0 1", 3, {}, 6);
    EXPECT_EQ(run.context->rootMoves.count, 1);
    EXPECT_EQ(run.context->rootLines[0].move, MakeMoveCode(63, 55));
    EXPECT_EQ(run.context->rootLines[1].move, NoMove);
}

} // namespace
} // namespace corvid
