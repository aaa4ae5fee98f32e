// Perft counts at shallow depths over positions that exercise every move rule: castling and its
// rights, en passant (pins and discovered checks), promotions, checks, and Chess960 set-ups
// with Shredder/X-FEN castling letters.
#include "chess/move_gen.h"
#include "chess/perft.h"
#include "chess/perft_cases.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <vector>

#include <cstring>
#include <iterator>

namespace corvid {
namespace {

using test::PerftCase;

const PerftCase QuickCases[] = {
    // The standard positions at shallow depth.
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 4, 197281},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 3, 97862},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 4, 43238},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", 3, 9467},
    {"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 9467},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", 3, 62379},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -", 3, 89890},
    // Castling rights edge cases.
    {"4k3/8/8/8/8/8/8/4K2R w K - 0 1", 4, 7059},
    {"4k3/8/8/8/8/8/8/R3K3 w Q - 0 1", 4, 7626},
    {"4k2r/8/8/8/8/8/8/4K3 w k - 0 1", 4, 8290},
    {"r3k3/8/8/8/8/8/8/4K3 w q - 0 1", 4, 8897},
    {"4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", 3, 3189},
    {"r3k2r/8/8/8/8/8/8/4K3 w kq - 0 1", 3, 782},
    {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 3, 13744},
    {"r3k2r/8/8/8/8/8/8/1R2K2R w Kkq - 0 1", 3, 14095},
    {"r3k2r/8/8/8/8/8/8/2R1K2R w Kkq - 0 1", 3, 13502},
    {"r3k2r/8/8/8/8/8/8/R3K1R1 w Qkq - 0 1", 3, 13579},
    {"1r2k2r/8/8/8/8/8/8/R3K2R w KQk - 0 1", 3, 14252},
    {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", 3, 13744},
    {"r3k2r/1b4bq/8/8/8/8/7B/R3K2R w KQkq - 0 1", 3, 27826},
    {"r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1", 3, 50509},
    // En passant: pins along ranks and diagonals, discovered checks.
    {"8/8/8/8/k1p4R/8/3P4/3K4 w - - 0 1", 4, 10138},
    {"3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1", 4, 10138},
    {"8/8/4k3/8/2p5/8/B2P2K1/8 w - - 0 1", 4, 10276},
    {"8/8/1k6/2b5/2pP4/8/5K2/8 b - d3 0 1", 4, 13931},
    {"8/5bk1/8/2Pp4/8/1K6/8/8 w - d6 0 1", 4, 9287},
    {"8/8/8/8/k2Pp2Q/8/8/3K4 b - d3 0 1", 3, 863},
    {"8/8/8/KP1p3r/8/8/8/7k w - - 0 1", 4, 5643}, // no ep right given: the field is absent
    // Promotions, with and without capture, into check.
    {"2K2r2/4P3/8/8/8/8/8/3k4 w - - 0 1", 4, 19174},
    {"8/P1k5/K7/8/8/8/8/8 w - - 0 1", 5, 18135},
    {"K1k5/8/P7/8/8/8/8/8 w - - 0 1", 6, 2217},
    {"8/k1P5/8/1K6/8/8/8/8 w - - 0 1", 6, 43261},
    {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", 3, 9483},
    {"n1n5/1Pk5/8/8/8/8/5Kp1/5N1N w - - 0 1", 4, 124608},
    {"4k3/1P6/8/8/8/8/K7/8 w - - 0 1", 5, 38983},
    // Checks and evasions, double check.
    {"8/8/2k5/5q2/5n2/8/5K2/8 b - - 0 1", 4, 23527},
    {"3k4/3pp3/8/8/8/8/3PP3/3K4 w - - 0 1", 4, 2902},
    {"k7/6p1/8/8/8/8/7P/K7 b - - 0 1", 5, 7574},
    {"4k3/8/8/8/8/8/8/4K2R b K - 0 1", 4, 8290},
    {"4k3/4r3/8/8/8/8/3n4/R3K2R w KQ - 0 1", 1, 3},
    // Chess960 with Shredder/X-FEN castling letters.
    {"bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9", 3, 12189},
    {"2nnrbkr/p1qppppp/8/1ppb4/6PP/3PP3/PPP2P2/BQNNRBKR w HEhe - 1 9", 3, 18002},
    {"b1q1rrkb/pppppppp/3nn3/8/P7/1PPP4/4PPPP/BQNNRKRB w GE - 1 9", 3, 10471},
    {"qbbnnrkr/2pp2pp/p7/1p2pp2/8/P3PP2/1PPP1KPP/QBBNNR1R w hf - 0 9", 3, 13440},
    {"1nbbnrkr/p1p1ppp1/3p4/1p3P1p/3Pq2P/8/PPP1P1P1/QNBBNRKR w HFhf - 0 9", 3, 31058},
    {"qnbnr1kr/ppp1b1pp/4p3/3p1p2/8/2NPP3/PPP1BPPP/QNB1R1KR w HEhe - 1 9", 3, 26578},
    // Chess960 castling where the rook hides an attack on the king's destination, and where
    // castling itself gives check along the rank the king left.
    {"4k3/8/8/8/8/8/8/qR3K2 w B - 0 1", 1, 9},
    {"8/7p/8/8/8/8/8/k1KR4 w D - 0 1", 2, 37},
};

TEST(Perft, ExactCountsOverTheQuickSuite) {
    int ran = test::RunPerftCases(QuickCases);
    EXPECT_EQ(ran, int(std::size(QuickCases)));
    EXPECT_GE(ran, 40);
}

TEST(Perft, DepthZeroIsOneAndThePositionIsUnchanged) {
    test::FenPosition fp("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -");
    Position before = fp.position;
    EXPECT_EQ(Perft(fp.position, 0), 1u);
    EXPECT_EQ(Perft(fp.position, 3), 97862u);
    EXPECT_EQ(std::memcmp(&before, &fp.position, sizeof before), 0);
}

TEST(Perft, DoubleCheckGivesOnlyKingMoves) {
    // Rook on e-file and knight on f3 both check the white king on e1.
    test::FenPosition fp("4r1k1/8/8/8/8/5n2/8/4K3 w - - 0 1");
    ASSERT_TRUE(MoreThanOne(fp.position.checkers));
    MoveList list;
    GenerateLegalMoves(fp.position, list);
    ASSERT_GT(list.count, 0);
    for (int i = 0; i < list.count; ++i)
        EXPECT_EQ(MoveFrom(list.moves[i]), fp.position.kingSquare[White]);
}

TEST(Perft, DivideSumsToTheTotal) {
    test::FenPosition fp(StartFen);
    PerftDivide divide = PerftByMove(fp.position, 3);
    EXPECT_EQ(divide.count, 20);
    EXPECT_EQ(divide.total, 8902u);
}

// A count that may be stopped hands on the same counts until the stop, then nothing more.
TEST(Perft, StoppedCountHandsOnOnlyFinishedMoves) {
    test::FenPosition fp(StartFen);
    const uint64_t before = fp.position.key;
    PerftDivide divide = PerftByMove(fp.position, 4);
    std::vector<std::pair<Move, uint64_t>> done;
    auto record = [&](Move m, uint64_t leaves) { done.push_back({m, leaves}); };
    EXPECT_TRUE(PerftByMoveUntil(
        fp.position, 4, [] { return false; }, record));
    ASSERT_EQ(int(done.size()), divide.count);
    for (int i = 0; i < divide.count; ++i) {
        EXPECT_EQ(done[i].first, divide.moves[i]);
        EXPECT_EQ(done[i].second, divide.nodes[i]);
    }
    done.clear();
    int asked = 0;
    // Asked once as each root move's count begins and once when it ends: the fifth question
    // comes as the third move begins.
    auto stopped = [&] { return ++asked > 4; };
    EXPECT_FALSE(PerftByMoveUntil(fp.position, 4, stopped, record));
    EXPECT_EQ(done.size(), 2u);
    EXPECT_EQ(fp.position.key, before);
}

} // namespace
} // namespace corvid
