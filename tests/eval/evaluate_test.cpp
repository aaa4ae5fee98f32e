#include "eval/evaluate.h"

#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "eval/pawn_cache.h"
#include "eval/search_personality.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

int Evaluate(const char* fen, bool* lazy = nullptr, int alpha = EvalWindowMin,
             int beta = EvalWindowMax) {
    test::FenPosition fp(fen);
    return evaluatePosition(fp.position, alpha, beta, lazy);
}

TEST(Evaluate, StartPositionScoresTheTempoForEitherSide) {
    bool lazy = true;
    EXPECT_EQ(Evaluate(StartFen, &lazy), 12);
    EXPECT_FALSE(lazy);
    EXPECT_EQ(Evaluate("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -", &lazy), 12);
    // A window far above the score takes the first lazy exit with the same base score.
    EXPECT_EQ(Evaluate(StartFen, &lazy, 1000, 2000), 12);
    EXPECT_TRUE(lazy);

    test::FenPosition fp(StartFen);
    EXPECT_EQ(phaseMaterial(fp.position), 3348);
}

TEST(Evaluate, PieceSquareSumsFollowTheMoves) {
    test::FenPosition fp(StartFen);
    EXPECT_EQ(fp.position.pstMg, 0);
    EXPECT_EQ(fp.position.pstEg, 0);
    MakeMoveWithCheck(fp.position, MakeMoveCode(62, 45)); // Nf3
    EXPECT_EQ(fp.position.pstMg, 19);
    EXPECT_EQ(fp.position.pstEg, 14);
}

struct MaterialCase {
    const char* fen;
    int expected; // materialBalance for White
};

class MaterialBalance : public ::testing::TestWithParam<MaterialCase> {};

TEST_P(MaterialBalance, ImbalanceCorrections) {
    test::FenPosition fp(GetParam().fen);
    EXPECT_EQ(materialBalance(White, fp.position), GetParam().expected) << GetParam().fen;
    EXPECT_EQ(materialBalance(Black, fp.position), -GetParam().expected) << GetParam().fen;
}

const MaterialCase MaterialCases[] = {
    {"3rr1k1/8/8/8/8/8/8/3Q2K1 w - -", -18},    // queen against two rooks
    {"2b1b1k1/8/8/8/8/8/8/2B1N1K1 w - -", -40}, // bishop pair on Black's side
    {"2b1n1k1/8/8/8/8/8/8/2B1B1K1 w - -", 40},  // two bishops against bishop and knight
    {"3q2k1/8/8/8/8/8/8/1NNB2K1 w - -", 60},    // three minors against a queen
    {"3r1bk1/8/8/8/8/8/8/3Q2K1 w - -", 164},    // queen against rook and bishop
    // A rook and four pawns: pawn surplus at piece count 1 (15 per pawn, at most three).
    {"6k1/8/8/8/8/8/PPPP4/R5K1 w - -", 522 + 400 + 64 + 15 * 3},
};

INSTANTIATE_TEST_SUITE_P(Cases, MaterialBalance, ::testing::ValuesIn(MaterialCases));

TEST(Evaluate, ScoresAreMultiplesOfFourInsideTheStaticRange) {
    // -5 rounds down to -8 and 7 to 4: the low two bits are cleared.
    for (const char* fen : {"r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -",
                            "8/8/4k3/8/8/8/8/QQQQKQQQ w - -", "qqqqkqqq/8/8/8/8/4K3/8/8 b - -"}) {
        int score = Evaluate(fen);
        EXPECT_EQ(score & 3, 0) << fen;
        EXPECT_LE(std::abs(score), StaticScoreLimit) << fen;
    }
    EXPECT_EQ(Evaluate("8/8/4k3/8/8/8/6QQ/QQQQKQQQ w - -"), StaticScoreLimit);
    EXPECT_EQ(Evaluate("8/8/4k3/8/8/8/6QQ/QQQQKQQQ b - -"), -StaticScoreLimit);
}

TEST(Evaluate, StalemateWithOnlyKingAndPawns) {
    // White: king a1 boxed in by the black king on c2, the pawn on a2 blocked on a3.
    bool lazy = true;
    int32_t material = 12345;
    test::FenPosition fp("8/8/8/8/8/p7/P1k5/K7 w - -");
    EXPECT_EQ(
        evaluatePosition(fp.position, EvalWindowMin, EvalWindowMax, &lazy, nullptr, &material), 0);
    EXPECT_FALSE(lazy);
    EXPECT_EQ(material, materialBalance(White, fp.position));
    // The same with a free pawn elsewhere is no stalemate.
    EXPECT_NE(Evaluate("8/8/8/8/7P/p7/P1k5/K7 w - -"), 0);
}

TEST(Evaluate, BareKingBonusDependsOnTheMatingMaterial) {
    // Two knights and a pawn (np 640) against a bare king: +100; rook, bishop and pawn: +500.
    // Compare with the same material with a black pawn added, which removes the bonus.
    int knights = Evaluate("7k/8/8/8/8/8/P7/1NN3K1 w - -");
    int knightsWithPawn = Evaluate("7k/7p/8/8/8/8/P7/1NN3K1 w - -");
    int rookBishop = Evaluate("7k/8/8/8/8/8/P7/1RB3K1 w - -");
    int rookBishopWithPawn = Evaluate("7k/7p/8/8/8/8/P7/1RB3K1 w - -");
    EXPECT_GT(knights - knightsWithPawn, 100);
    EXPECT_LT(knights - knightsWithPawn, 400);
    EXPECT_GT(rookBishop - rookBishopWithPawn, 500);
}

TEST(Evaluate, PawnlessSideScalesOnlyWhenAhead) {
    // Black: two knights, no pawns; White: king and pawns.
    const char* whiteAhead = "6k1/8/8/PPPP4/2n1n3/8/PPPP4/6K1 w - -";
    const char* blackAhead = "6k1/8/8/8/2n1n3/8/P7/6K1 w - -";
    EXPECT_GT(Evaluate(whiteAhead), 150); // eight pawns against two knights: unscaled
    int scaled = Evaluate(blackAhead);
    EXPECT_LE(scaled, 0);
    EXPECT_GT(scaled, -60); // 8% of several hundred
}

TEST(Evaluate, OppositeColouredBishopsScaleTheSideAhead) {
    // Equal pieces, White two pawns up: 75% with two or more pawns for the side ahead.
    const char* opposite = "6k1/5p2/4b3/8/8/8/3B1PPP/6K1 w - -";
    const char* same = "6k1/5p2/3b4/8/8/8/3B1PPP/6K1 w - -";
    int scaledScore = Evaluate(opposite);
    int plainScore = Evaluate(same);
    EXPECT_GT(plainScore, 100);
    EXPECT_LT(scaledScore, plainScore);
    EXPECT_GT(scaledScore, plainScore / 2);
}

TEST(Evaluate, ExchangeBonusForTheRookSide) {
    // Rook and pawns against bishop and pawns with little material: phase 431 (at most 500),
    // so the rook side gets the full 34 (42 against a knight).
    test::FenPosition bishop("6k1/5ppp/8/8/8/2b5/5PPP/3R2K1 w - -");
    test::FenPosition knight("6k1/5ppp/8/8/8/2n5/5PPP/3R2K1 w - -");
    test::FenPosition bishopOnePawn("6k1/5ppp/8/8/8/2b5/7P/3R2K1 w - -");
    EXPECT_LE(phaseMaterial(bishop.position), 500);
    int withBishop = evaluatePosition(bishop.position, EvalWindowMin, EvalWindowMax);
    int withKnight = evaluatePosition(knight.position, EvalWindowMin, EvalWindowMax);
    EXPECT_GT(withBishop, 150);
    EXPECT_GT(withKnight, 150);
    // Without the bonus term these would differ by the material and piece terms only; check the
    // bonus directly through the gap between one pawn and several (42 -> 10, 34 -> 8).
    int onePawn = evaluatePosition(bishopOnePawn.position, EvalWindowMin, EvalWindowMax);
    EXPECT_LT(onePawn, withBishop);
}

TEST(Evaluate, WeightsScaleTheirTerms) {
    const char* fen = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ -";
    int normal = Evaluate(fen);
    SearchPersonality saved = activePersonality;
    activePersonality.kingSafetyWeight = 0;
    activePersonality.pieceWeight = 0;
    int noPieces = Evaluate(fen);
    activePersonality = saved;
    EXPECT_EQ(Evaluate(fen), normal);
    EXPECT_NE(noPieces, normal);
}

TEST(Evaluate, MaterialOutIsWrittenOnEveryPath) {
    // General path, lazy path, pawnless and pawn-ending positions.
    for (const char* fen : {StartFen, "8/8/4k3/8/8/3K4/8/2R5 w - -",
                            "8/4p3/4k3/8/8/3K4/4P3/8 b - -", "8/5k2/8/8/8/8/2NB4/4K3 w - -"}) {
        test::FenPosition fp(fen);
        int32_t material = -99999;
        evaluatePosition(fp.position, 5000, 6000, nullptr, nullptr, &material);
        EXPECT_EQ(material, materialBalance(fp.position.sideToMove, fp.position)) << fen;
    }
}

} // namespace
} // namespace corvid
