// The evaluation cache hands back exactly what the evaluation computes: in any window, lazy or
// not, with the cache empty, filled, or holding another position in the slot.
#include "eval/eval_cache.h"
#include "eval/eval_test_util.h"
#include "eval/evaluate.h"
#include "eval/pawn_cache.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace corvid {
namespace {

struct Result {
    int32_t score;
    bool lazy;
    bool operator==(const Result&) const = default;
};

Result Evaluate(const Position& p, int alpha, int beta) {
    Result r{0, false};
    r.score = evaluatePosition(p, alpha, beta, &r.lazy);
    return r;
}

TEST(EvalCache, GivesTheEvaluationsOwnValueInEveryWindow) {
    std::vector<std::string> fens = test::GameFens("pgn/master/twic0920_first120.pgn", 40, 3);
    for (const std::string& fen : test::OpeningFens(200, 3)) fens.push_back(fen);
    claimPawnCache();
    auto cache = std::make_unique<EvalCache>();
    clearEvalCache(*cache);
    const int windows[][2] = {{EvalWindowMin, EvalWindowMax}, {-50, 50}, {300, 400}, {-900, -700}};
    int hits = 0;
    for (const std::string& fen : fens) {
        test::FenPosition fp(fen.c_str());
        for (const auto& w : windows) {
            useEvalCache(nullptr);
            Result plain = Evaluate(fp.position, w[0], w[1]);
            useEvalCache(cache.get());
            EvalCacheEntry* slot = evalCacheSlot(fp.position.key);
            ASSERT_NE(slot, nullptr);
            bool held = slot->filled && slot->key == fp.position.key;
            EXPECT_EQ(Evaluate(fp.position, w[0], w[1]), plain) << fen << " " << w[0];
            EXPECT_EQ(Evaluate(fp.position, w[0], w[1]), plain) << fen << " " << w[0];
            hits += held;
        }
    }
    useEvalCache(nullptr);
    // Most positions were met again in a later window: the cache was used, not bypassed.
    EXPECT_GT(hits, int(fens.size()));

    // A stale entry of another position in the slot is not taken.
    test::FenPosition start(StartFen);
    useEvalCache(cache.get());
    *evalCacheSlot(start.position.key) = {start.position.key ^ (uint64_t(1) << 40), 5000, 1};
    Result cached = Evaluate(start.position, EvalWindowMin, EvalWindowMax);
    useEvalCache(nullptr);
    EXPECT_EQ(cached, Evaluate(start.position, EvalWindowMin, EvalWindowMax));
    releasePawnCache();
}

} // namespace
} // namespace corvid
