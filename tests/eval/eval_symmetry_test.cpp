// The evaluation treats the colours alike: every position scores exactly what its
// colour-flipped twin scores, with any window.
#include "eval/endgame_dispatch.h"
#include "eval/eval_test_util.h"
#include "eval/evaluate.h"
#include "eval/pawn_cache.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

struct Outcome {
    int score;
    bool lazy;
};

Outcome EvaluateFen(const std::string& fen, int alpha, int beta) {
    test::FenPosition fp(fen.c_str());
    bool lazy = false;
    int score = evaluatePosition(fp.position, alpha, beta, &lazy);
    return {score, lazy};
}

// Positions on the general path whose piece lists hold every piece.
bool Eligible(const std::string& fen) {
    test::FenPosition fp(fen.c_str());
    const Position& p = fp.position;
    return !isSpecialEndgame(p) && p.pieceCount[White] <= 10 && p.pieceCount[Black] <= 10;
}

// Checks the position and its twin with the full window and with windows that take each lazy
// exit; returns the number of failures (reported with the FEN).
int CheckSymmetry(const std::string& fen) {
    std::string twin = test::FlipFen(fen);
    Outcome full = EvaluateFen(fen, EvalWindowMin, EvalWindowMax);
    Outcome fullTwin = EvaluateFen(twin, EvalWindowMin, EvalWindowMax);
    EXPECT_EQ(full.score, fullTwin.score) << fen << "  vs  " << twin;
    int failures = full.score != fullTwin.score;
    for (int offset : {-1200, -480, 480, 1200}) {
        int alpha = full.score + offset, beta = alpha + 1;
        Outcome a = EvaluateFen(fen, alpha, beta), b = EvaluateFen(twin, alpha, beta);
        EXPECT_EQ(a.score, b.score) << fen << " window " << alpha;
        EXPECT_EQ(a.lazy, b.lazy) << fen << " window " << alpha;
        failures += a.score != b.score || a.lazy != b.lazy;
    }
    return failures;
}

int CheckAll(const std::vector<std::string>& fens, int& checked) {
    int failures = 0;
    for (const std::string& fen : fens) {
        if (!Eligible(fen)) continue;
        ++checked;
        failures += CheckSymmetry(fen);
        if (failures > 10) break; // enough to diagnose
    }
    return failures;
}

TEST(EvalSymmetry, CompactPositionsAndTheirPlayouts) {
    test::EnsureTables();
    claimPawnCache();
    int checked = 0;
    std::vector<std::string> fens = test::CompactFens();
    for (size_t i = 0; i < test::CompactFens().size(); ++i)
        for (const std::string& fen : test::RandomPlayout(test::CompactFens()[i], 160, i + 1))
            fens.push_back(fen);
    EXPECT_EQ(CheckAll(fens, checked), 0);
    EXPECT_GT(checked, 2000);
}

TEST(EvalSymmetry, PositionsFromRealGames) {
    std::vector<std::string> fens = test::GameFens("pgn/master/twic0920_first120.pgn", 120, 2);
    for (const std::string& fen :
         test::GameFens("pgn/engine/TCEC_Season_10_-_Superfinal.pgn", 12, 3))
        fens.push_back(fen);
    for (const std::string& fen : test::OpeningFens(1000, 3)) fens.push_back(fen);
    claimPawnCache();
    int checked = 0;
    EXPECT_EQ(CheckAll(fens, checked), 0);
    EXPECT_GT(checked, 5000);
    RecordProperty("positions", checked);
}

} // namespace
} // namespace corvid
