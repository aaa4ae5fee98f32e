// Deep perft counts (Release only): the standard positions at full depth, a Chess960 position,
// and every count of the public perft suites up to a node budget.
#include "chess/perft.h"
#include "chess/perft_cases.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace corvid {
namespace {

using test::PerftCase;

const PerftCase DeepCases[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 6, 119060324},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 5, 193690690},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 6, 11030083},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", 5, 15833292},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", 5, 89941194},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -", 5, 164075551},
    {"bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9", 5, 8146062},
};

TEST(PerftDeep, StandardPositionsAtFullDepth) {
    int ran = test::RunPerftCases(DeepCases);
    EXPECT_EQ(ran, 7);
}

// Lines of "FEN ;D1 n ;D2 n ..." (either spacing around the semicolons).
void RunSuiteFile(const std::string& name, uint64_t nodeBudget, int expectedPositions) {
    std::string path = test::TestDataPath("epd/" + name);
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    std::string line;
    std::regex count(R"(D(\d+)\s+(\d+))");
    int positions = 0, checks = 0;
    while (std::getline(in, line)) {
        size_t semicolon = line.find(';');
        if (semicolon == std::string::npos) continue;
        std::string fen = line.substr(0, semicolon);
        test::FenPosition fp(fen.c_str());
        ++positions;
        std::string rest = line.substr(semicolon);
        for (std::sregex_iterator it(rest.begin(), rest.end(), count), end; it != end; ++it) {
            int depth = std::stoi((*it)[1]);
            uint64_t expected = std::stoull((*it)[2]);
            if (expected > nodeBudget) continue;
            EXPECT_EQ(Perft(fp.position, depth), expected) << fen << " depth " << depth;
            ++checks;
        }
    }
    EXPECT_EQ(positions, expectedPositions);
    EXPECT_GT(checks, positions);
}

TEST(PerftDeep, PublicSuite) { RunSuiteFile("perftsuite.epd", 5000000, 126); }
TEST(PerftDeep, ChessVariantsSuite) { RunSuiteFile("cw_perft.epd", 5000000, 174); }

} // namespace
} // namespace corvid
