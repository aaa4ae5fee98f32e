#include "eval/pawn_structure.h"

#include "eval/attack_info.h"
#include "eval/eval_test_util.h"
#include "eval/evaluate.h"
#include "eval/search_personality.h"

#include <gtest/gtest.h>

#include <thread>

namespace corvid {
namespace {

PawnCacheEntry Entry(const char* fen) {
    test::FenPosition fp(fen);
    PawnCacheEntry entry;
    computePawnEntry(fp.position, entry);
    return entry;
}

TEST(PawnStructure, DoubledIsolatedAndFixedPawnsOnOneFile) {
    // Lone white pawns e2, e3, e4: the front pawn is doubled (n = 3: 28, 56); all three are
    // isolated (20 each); the two rear pawns are fixed behind their own pawns.
    PawnCacheEntry e = Entry("4k3/8/8/8/4P3/4P3/4P3/K7 w - -");
    EXPECT_EQ(e.structure[White], (ScorePair{-88, -116}));
    EXPECT_EQ(e.fixedPawns, SquareBB(44) | SquareBB(52));
    EXPECT_EQ(e.passed[White], SquareBB(36));
    EXPECT_EQ(e.weakOnHalfOpen[White], 3);
    EXPECT_EQ(e.fileFlags[4], NoBlackPawn | WeakWhitePawn);
    EXPECT_EQ(e.fileFlags[0], NoWhitePawn | NoBlackPawn);
    EXPECT_EQ(e.openFileCount, 7);
    EXPECT_EQ(e.passedSpread[White], 0);
    EXPECT_EQ(e.passedSpread[Black], -11);
}

TEST(PawnStructure, PassedAndIsolatedCountBoth) {
    PawnCacheEntry e = Entry("4k3/8/8/3P4/8/8/8/4K3 w - -");
    EXPECT_EQ(e.structure[White], (ScorePair{-20, -20}));
    EXPECT_EQ(e.staticPassed[White], (ScorePair{35 * 66 / 100, 35})); // d5 passed value 35
}

TEST(PawnStructure, ConnectedPassersOnTheSixthGetTheFullBonus) {
    PawnCacheEntry e = Entry("4k3/8/3PP3/8/8/8/8/4K3 w - -");
    EXPECT_EQ(e.staticPassed[White], (ScorePair{2 * (62 * 66 / 100 + 20), 2 * (62 + 20)}));
    // A defended passer whose defender is not passed gets half the bonus.
    PawnCacheEntry half = Entry("4k3/2p5/3P4/4P3/8/8/8/4K3 w - -");
    EXPECT_EQ(half.passed[White], SquareBB(28)); // e5; d6 is blocked by c7's span
}

TEST(PawnStructure, CandidateAndBackwardPawns) {
    // c4 with b3 behind it against the black d5 pawn: a candidate (one helper, one opponent,
    // candidate value 16 on c4); b3 itself is held by the black a5 pawn.
    PawnCacheEntry candidate = Entry("4k3/8/8/p2p4/2P5/1P6/8/4K3 w - -");
    EXPECT_EQ(candidate.passed[White], 0u);
    EXPECT_EQ(candidate.staticPassed[White], (ScorePair{8, 16}));
    // d3 behind its advanced neighbour c4, with the black e5 pawn watching the way: backward.
    PawnCacheEntry backward = Entry("4k3/8/8/4p3/2P5/3P4/8/4K3 w - -");
    EXPECT_EQ(backward.fileFlags[3] & WeakWhitePawn, WeakWhitePawn);
    EXPECT_EQ(backward.fileFlags[2] & WeakWhitePawn, 0);
}

TEST(PawnStructure, WingTablesAndWeights) {
    test::FenPosition fp("6k1/pp3ppp/8/8/8/8/PP3PPP/6K1 w - -");
    PawnCacheEntry* entry = nullptr;
    int32_t totals[2];
    // Symmetric pawns: the difference is zero at any phase.
    EXPECT_EQ(pawnStructureTerm(White, fp.position, entry, totals, 3348), 0);
    ASSERT_NE(entry, nullptr);
    // Endgame: placement E plus the weighted structure and passed values.
    pawnStructureTerm(White, fp.position, entry, totals, 1000);
    EXPECT_EQ(totals[White], entry->placement[4][White] + entry->staticPassed[White].eg +
                                 entry->structure[White].eg);
    // Middlegame with both kings on the king side: table A.
    pawnStructureTerm(White, fp.position, entry, totals, 3000);
    EXPECT_EQ(totals[White], entry->placement[0][White] + entry->structure[White].mg +
                                 entry->staticPassed[White].mg);

    SearchPersonality saved = activePersonality;
    activePersonality.passedPawnWeight = 0;
    test::FenPosition passer("6k1/8/8/3P4/8/8/8/6K1 w - -");
    pawnStructureTerm(White, passer.position, entry, totals, 1000);
    EXPECT_EQ(totals[White], entry->placement[4][White] + entry->structure[White].eg);
    EvalDetail detail{};
    buildAttackInfo(detail, passer.position);
    EXPECT_EQ(passedPawnTerm(White, passer.position, *entry, detail), 0);
    activePersonality = saved;
    EXPECT_NE(passedPawnTerm(White, passer.position, *entry, detail), 0);
}

TEST(PassedPawnTerm, BlockerOnTheStopSquare) {
    // d6 blocked by a rook: 32 quarter centipawns in both halves, kings add nothing here
    // (own king six squares from the stop square, enemy king level with the pawn).
    test::FenPosition fp("3k4/3r4/3P4/8/8/8/8/4K3 w - -");
    PawnCacheEntry entry;
    computePawnEntry(fp.position, entry);
    EvalDetail detail{};
    buildAttackInfo(detail, fp.position);
    EXPECT_EQ(passedPawnTerm(White, fp.position, entry, detail), 32 / 4);
    // A queen blocks for 16, a knight for nothing.
    test::FenPosition queen("3k4/3q4/3P4/8/8/8/8/4K3 w - -");
    computePawnEntry(queen.position, entry);
    buildAttackInfo(detail, queen.position);
    EXPECT_EQ(passedPawnTerm(White, queen.position, entry, detail), 16 / 4);
}

// The cache gives what a fresh computation gives: evaluations with the entry forgotten before
// each call, with a warm cache in two orders, across colliding slots, and on a second thread
// with its own small cache (which must leave the shared cache alone).
class PawnCacheConsistency : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureTables();
        ASSERT_TRUE(claimPawnCache());
        for (size_t i = 0; i < test::CompactFens().size(); ++i) {
            fens.push_back(test::CompactFens()[i]);
            for (const std::string& fen : test::RandomPlayout(test::CompactFens()[i], 100, 77 + i))
                fens.push_back(fen);
        }
        for (const std::string& fen : fens) positions.emplace_back(fen.c_str());
    }

    std::vector<int> EvaluateAll(bool forget, bool reverse) {
        std::vector<int> scores(positions.size());
        for (size_t n = 0; n < positions.size(); ++n) {
            size_t i = reverse ? positions.size() - 1 - n : n;
            const Position& p = positions[i].position;
            if (forget) invalidatePawnCacheEntry(p.pawnKey);
            scores[i] = evaluatePosition(p, EvalWindowMin, EvalWindowMax);
        }
        return scores;
    }

    std::vector<std::string> fens;
    std::vector<test::FenPosition> positions;
};

TEST_F(PawnCacheConsistency, ClearedWarmAndCollidingEntriesAgree) {
    clearPawnCache();
    std::vector<int> fresh = EvaluateAll(true, false);
    clearPawnCache();
    std::vector<int> cold = EvaluateAll(false, false);
    std::vector<int> warm = EvaluateAll(false, true);
    for (size_t i = 0; i < fens.size(); ++i) {
        ASSERT_EQ(cold[i], fresh[i]) << fens[i];
        ASSERT_EQ(warm[i], fresh[i]) << fens[i];
    }

    // Two different pawn configurations that share a slot, evaluated in turn.
    std::vector<size_t> bySlot(PawnCacheEntries, SIZE_MAX);
    int collisions = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
        uint64_t key = positions[i].position.pawnKey;
        size_t& other = bySlot[key & (PawnCacheEntries - 1)];
        if (other != SIZE_MAX && positions[other].position.pawnKey != key) {
            for (int round = 0; round < 2; ++round) {
                for (size_t j : {i, other}) {
                    int score =
                        evaluatePosition(positions[j].position, EvalWindowMin, EvalWindowMax);
                    ASSERT_EQ(score, fresh[j]) << fens[j];
                }
            }
            ++collisions;
        }
        other = i;
    }
    EXPECT_GT(collisions, 0);
}

TEST_F(PawnCacheConsistency, OtherThreadsUseTheirOwnCache) {
    clearPawnCache();
    std::vector<int> fresh = EvaluateAll(false, false);
    std::vector<unsigned char> before(
        reinterpret_cast<unsigned char*>(pawnCache),
        reinterpret_cast<unsigned char*>(pawnCache + PawnCacheEntries));
    std::vector<int> other;
    bool claimed = true;
    std::thread worker([&] {
        claimed = claimPawnCache();
        other = EvaluateAll(false, false);
    });
    worker.join();
    EXPECT_FALSE(claimed);
    EXPECT_EQ(other, fresh);
    EXPECT_TRUE(
        std::equal(before.begin(), before.end(), reinterpret_cast<unsigned char*>(pawnCache)));
}

TEST(PawnCache, ClearedEntriesNeverMatchAPawnlessPosition) {
    test::EnsureTables();
    ASSERT_TRUE(claimPawnCache());
    clearPawnCache();
    test::FenPosition fp("4k3/8/8/8/8/8/8/R3K3 w - -");
    ASSERT_EQ(fp.position.pawnKey, 0u);
    PawnCacheEntry& entry = probePawnEntry(fp.position);
    EXPECT_EQ(entry.openFileCount, 8);
    EXPECT_EQ(entry.fileFlags[3], NoWhitePawn | NoBlackPawn);
    EXPECT_EQ(entry.shelterKey[White], -1);
}

} // namespace
} // namespace corvid
