// The three endgame evaluators without bitbases (hand-computed values and the shapes the
// mating tables must give), and the probes' square handling on hand-made tables.
#include "eval/bitbase.h"
#include "eval/bitbase_index.h"
#include "eval/bitbase_probe.h"
#include "eval/eval_test_util.h"
#include "eval/evaluate.h"
#include "eval/pawn_ending_eval.h"
#include "eval/pawnless_eval.h"
#include "support/test_support.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace corvid {
namespace {

using test::FenPosition;

class NoBitbases : public ::testing::Test {
protected:
    void SetUp() override { loadBitbases("no-such-bitbase-folder"); }
};

int pawnless(const char* fen) {
    FenPosition f(fen);
    return pawnlessEval(f.position, f.position.sideToMove);
}

TEST_F(NoBitbases, HandComputedValues) {
    FenPosition kpk("4k3/8/8/8/8/8/4P3/4K3 w - -");
    EXPECT_EQ(pawnEndingEval(kpk.position, White), 197);
    EXPECT_EQ(pawnless("7k/8/6K1/8/8/8/8/R7 w - -"), 1086);
    EXPECT_EQ(pawnless("8/8/8/4k3/8/8/8/3QK3 w - -"), 1476);
    EXPECT_EQ(pawnless("k7/8/2K5/1N1B4/8/8/8/8 w - -"), 904);
    // The same from the other side to move.
    EXPECT_EQ(pawnless("7k/8/6K1/8/8/8/8/R7 b - -"), -1086);
}

TEST_F(NoBitbases, TheEvaluationReturnsTheEndgameScoresUnrounded) {
    struct Case {
        const char* fen;
        int score;
    };
    const Case cases[] = {{"4k3/8/8/8/8/8/4P3/4K3 w - -", 197},
                          {"7k/8/6K1/8/8/8/8/R7 w - -", 1086},
                          {"8/8/8/4k3/8/8/8/3QK3 w - -", 1476},
                          {"k7/8/2K5/1N1B4/8/8/8/8 w - -", 904}};
    for (const Case& c : cases) {
        FenPosition f(c.fen);
        EXPECT_EQ(evaluatePosition(f.position, -10001, 10001), c.score) << c.fen;
    }
}

TEST_F(NoBitbases, TwoKnightsScoreOneAndLoneMinorsNothing) {
    EXPECT_EQ(pawnless("8/8/3k4/8/8/2NN4/8/4K3 w - -"), 1);
    EXPECT_EQ(pawnless("8/8/3k4/8/8/2NN4/8/4K3 b - -"), -1);
    EXPECT_EQ(pawnless("8/8/1nnk4/8/8/8/8/4K3 b - -"), 1);
    EXPECT_EQ(pawnless("8/8/3k4/8/8/2B5/8/4K3 w - -"), 0);
    EXPECT_EQ(pawnless("8/8/3k4/8/8/8/8/4K3 w - -"), 0);
}

// Bishop and knight mate only in a corner of the bishop's colour: with a light-squared bishop
// the bare king's score rises toward a8 and h1 and falls toward a1 and h8.
TEST_F(NoBitbases, BishopAndKnightDriveTowardTheBishopsCorners) {
    auto score = [](const char* fen) { return pawnless(fen); };
    int centre = score("8/8/8/3k4/8/2K5/2N1B3/8 w - -"); // Be2 is light
    int nearA8 = score("1k6/8/8/8/8/2K5/2N1B3/8 w - -");
    int nearA1 = score("8/8/8/8/8/2K5/2N1B3/1k6 w - -");
    EXPECT_GT(nearA8, centre);
    EXPECT_LT(nearA1, nearA8);
    // The dark-squared bishop (d2) reverses the corners.
    int darkA1 = score("8/8/8/8/8/2K5/2NB4/1k6 w - -");
    int darkA8 = score("1k6/8/8/8/8/2K5/2NB4/8 w - -");
    EXPECT_GT(darkA1, darkA8);
}

// The engine starts and evaluates every kind of little material without any bitbase.
TEST_F(NoBitbases, EvaluationRunsOnEveryEndgameKind) {
    for (const char* fen : {"4k3/8/8/8/8/8/4P3/4K3 w - -", "4k3/4p3/8/8/8/8/4P3/4K3 b - -",
                            "8/8/8/8/8/6k1/p7/7K w - -", "4k3/8/8/8/8/8/4P3/R3K3 w - -",
                            "4k3/8/8/8/8/8/P7/2B1K3 w - -", "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -",
                            "8/8/8/4k3/8/8/8/3QK3 w - -", "7q/PK6/8/8/8/8/8/7k w - -"}) {
        FenPosition f(fen);
        int score = evaluatePosition(f.position, EvalWindowMin, EvalWindowMax);
        EXPECT_LT(std::abs(score), StaticScoreLimit + 1) << fen;
    }
    // A bishop of the wrong colour for the a-pawn's corner draws.
    FenPosition wrongBishop("k7/8/8/8/8/8/P7/2B1K3 w - -");
    EXPECT_EQ(evaluatePosition(wrongBishop.position, EvalWindowMin, EvalWindowMax), 0);
    FenPosition rightBishop("k7/8/8/8/8/8/P7/4KB2 w - -");
    EXPECT_GT(evaluatePosition(rightBishop.position, EvalWindowMin, EvalWindowMax), 300);
    // The rook-pawn corner: the defending king in front of an a-pawn draws.
    FenPosition corner("k7/8/8/8/8/8/P7/K7 w - -");
    EXPECT_EQ(pawnEndingEval(corner.position, White), 0);
}

// A hand-made table with exactly one bit set, installed as a loaded bitbase.
void installSingleBit(BitbaseTable& table, int64_t bits, int64_t index) {
    table = BitbaseTable{};
    table.logicalBytes = int32_t(bits / 8);
    table.blockBytes = table.logicalBytes;
    table.storedBlocks = 1;
    table.blockIndex.assign(1, 0);
    table.blocks.assign(size_t(table.logicalBytes), 0);
    table.blocks[size_t(index / 8)] = uint8_t(1 << (index % 8));
}

TEST_F(NoBitbases, KpkOnTheEFileIsProbedAtTheMirroredDFileSquare) {
    installSingleBit(bitbases.kpk, KpkBits, 192763);
    EXPECT_EQ(probeKpk(FenPosition("4k3/8/8/8/8/8/4P3/4K3 w - -").position, White), 1);
    EXPECT_EQ(probeKpk(FenPosition("3k4/8/8/8/8/8/3P4/3K4 w - -").position, White), 1);
    EXPECT_EQ(probeKpk(FenPosition("4k3/8/8/8/8/8/4P3/4K3 b - -").position, White), 0);
    // Black's pawn is seen with the board turned: e7 against Ke8/Ke1 is the same entry.
    EXPECT_EQ(probeKpk(FenPosition("4k3/4p3/8/8/8/8/8/4K3 b - -").position, Black), 1);
    // With the bit set, the pawn ending is scored a draw.
    EXPECT_EQ(pawnEndingEval(FenPosition("4k3/8/8/8/8/8/4P3/4K3 w - -").position, White), 0);
    bitbases.kpk = BitbaseTable{};
}

// A pawn on its second rank with its side to move is probed as if it had double-stepped,
// with the rook side to move.
TEST_F(NoBitbases, KpkrPushesSecondAndThirdRankPawnsToTheFourth) {
    constexpr int A1 = 56, C8 = 2, E1 = 60, B4 = 33, B3 = 41, H8 = 7;
    int64_t pushed = kpkrIndex(A1, C8, B4, H8, false);
    installSingleBit(bitbases.kpkr, KpkrBits, pushed);
    EXPECT_EQ(probeKpkr(FenPosition("2k4r/8/8/8/8/8/1P6/K7 w - -").position, White), 1);
    EXPECT_EQ(probeKpkr(FenPosition("2k4r/8/8/8/8/1P6/8/K7 w - -").position, White), 1);
    EXPECT_EQ(probeKpkr(FenPosition("2k4r/8/8/8/1P6/8/8/K7 b - -").position, White), 1);
    // The rook side to move, a blocked path, or a push that leaves the king in check: no probe.
    EXPECT_EQ(probeKpkr(FenPosition("2k4r/8/8/8/8/8/1P6/K7 b - -").position, White), -1);
    EXPECT_EQ(probeKpkr(FenPosition("2k5/8/8/8/8/1r6/1P6/K7 w - -").position, White), -1);
    EXPECT_EQ(probeKpkr(FenPosition("2k5/8/8/8/1r6/8/1P6/K7 w - -").position, White), -1);
    EXPECT_EQ(probeKpkr(FenPosition("2k5/8/8/8/8/8/1P6/K6r w - -").position, White), -1);
    (void)E1, (void)B3;
    bitbases.kpkr = BitbaseTable{};
}

// The few-pieces evaluator reads every table for both colours alike: each position scores what
// its colour-flipped twin scores, with and without the bitbases. (Pawn endings and the queen
// against a rook read the king table unmirrored, as intended, so they are left out.)
TEST(FewPiecesSymmetry, PositionsScoreLikeTheirColourFlippedTwins) {
    std::vector<std::string> fens = {
        "8/8/1KP5/3r4/8/8/8/k7 w - -",       "7q/PK6/8/8/8/8/8/7k b - -",
        "k7/8/8/8/8/8/P7/2B1K3 w - -",       "8/5k2/8/8/8/8/3PP3/3NK3 w - -",
        "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -", "8/8/4k3/2p5/8/2P5/1B2K3/5n2 b - -",
        "8/pp3k2/8/8/8/8/5K2/2R5 w - -",     "8/6pp/8/8/5k2/8/8/K6N b - -",
        "4k3/8/8/3q4/8/2Q5/4PP2/4K3 w - -",  "4k3/4r3/8/8/8/8/3PP3/3RK3 b - -",
    };
    for (const char* file : {"epd/tb_gaviota_dm_3_4men.epd", "epd/tb_syzygy_wdl_dtz.epd"}) {
        std::string path = test::TestDataPath(file);
        std::ifstream in(path);
        EXPECT_TRUE(in) << path;
        for (std::string line; std::getline(in, line);) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream fields(line);
            std::string board, side;
            fields >> board >> side;
            fens.push_back(board + " " + side + " - -");
        }
    }
    int checked = 0;
    for (const char* folder : {"no-such-bitbase-folder", CORVID_BINARY_DIR "/bitbases"}) {
        loadBitbases(folder);
        for (const std::string& fen : fens) {
            FenPosition f(fen.c_str());
            const Position& p = f.position;
            bool fewPieces = p.pieceCount[White] <= 1 && p.pieceCount[Black] <= 1 &&
                             p.pieceCount[White] + p.pieceCount[Black] > 0 &&
                             p.pawnCount[White] + p.pawnCount[Black] > 0;
            if (!fewPieces) continue;
            FenPosition twin(test::FlipFen(fen).c_str());
            int score = evaluatePosition(p, EvalWindowMin, EvalWindowMax);
            int twinScore = evaluatePosition(twin.position, EvalWindowMin, EvalWindowMax);
            // Pawn against queen: a drawn bitbase entry scales White's view by arithmetic
            // shifts, which round toward minus infinity, so the twins may differ by two.
            bool pawnAgainstQueen = (p.material[White] == 100 && p.material[Black] == 984) ||
                                    (p.material[White] == 984 && p.material[Black] == 100);
            if (pawnAgainstQueen)
                EXPECT_NEAR(score, twinScore, 2) << fen << " with " << folder;
            else
                EXPECT_EQ(score, twinScore) << fen << " with " << folder;
            ++checked;
        }
    }
    loadBitbases("no-such-bitbase-folder");
    EXPECT_GE(checked, 20);
}

} // namespace
} // namespace corvid
