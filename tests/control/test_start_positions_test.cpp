// Reading a test match's start positions: every kept line is a position that can be played from;
// everything else is skipped and counted, and a long line never spills into a second one.
#include "control/test_start_positions.h"

#include "support/test_support.h"

#include <fstream>
#include <gtest/gtest.h>

namespace corvid {
namespace {

const char* const Opening = "rnbqkb1r/pppp1ppp/5n2/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3";
const char* const Endgame = "8/5k2/8/3K4/8/8/4P3/8 w - -";

TestStartPositions load(const test::ScratchDirectory& folder, const std::string& content) {
    std::ofstream(folder.file("starts.txt"), std::ios::binary) << content;
    return loadTestStartPositions(folder.file("starts.txt"));
}

TEST(TestStartPositions, KeepsPlayablePositionsAndCountsTheRest) {
    test::EnsureTables();
    test::ScratchDirectory folder;
    // The cut-off part of an over-long line would itself read as a position.
    std::string longLine = std::string(Opening) + " c0 \"" + std::string(300, 'x') + "\"; " +
                           "8/8/8/8/8/8/8/K6k w - -";
    std::string content = std::string(Opening) + "\r\n" + // CR LF line end
                          "\n   \n# a comment line\n" +   // not counted
                          "not a position\n" +
                          "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w KQkq -\n" + // 7 files
                          "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1; bm Ra8#\n" +       // EPD tail
                          "R5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 1 1\n" + // mated: nothing to play
                          "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\n" +       // stalemate
                          "8/8/4k3/8/8/3K4/8/8 w - - 0 1\n" +        // insufficient material
                          longLine + "\n" + Endgame;                 // no final line end
    TestStartPositions loaded = load(folder, content);
    ASSERT_EQ(loaded.fens.size(), 4u);
    EXPECT_EQ(loaded.fens[0], Opening);
    EXPECT_EQ(loaded.fens[1], "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1; bm Ra8#");
    EXPECT_EQ(loaded.fens[2], longLine); // read whole: its position is the opening's
    EXPECT_EQ(loaded.fens[3], Endgame);
    EXPECT_EQ(loaded.skipped, 5);

    Position position;
    CastleInfo castleInfo;
    ASSERT_TRUE(setUpStartPosition(position, castleInfo, loaded.fens[2]));
    test::FenPosition opening(Opening);
    EXPECT_EQ(position.key, opening.position.key);
}

TEST(TestStartPositions, StopsAtTheLimitAndAMissingFileGivesNone) {
    test::EnsureTables();
    test::ScratchDirectory folder;
    std::string content;
    for (int i = 0; i < MaxStartPositions + 50; ++i) content += std::string(Endgame) + "\n";
    EXPECT_EQ(load(folder, content).fens.size(), size_t(MaxStartPositions));

    TestStartPositions none = loadTestStartPositions(folder.file("missing.txt"));
    EXPECT_TRUE(none.fens.empty());
    EXPECT_EQ(none.skipped, 0);
}

} // namespace
} // namespace corvid
