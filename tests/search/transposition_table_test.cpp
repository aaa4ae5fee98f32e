#include "eval/pawn_cache.h"
#include "search/transposition_table.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

namespace corvid {
namespace {

constexpr uint64_t TestBuckets = 1024;
constexpr uint32_t TestIndex = 77;

uint64_t KeyFor(uint32_t lock) { return (uint64_t(lock) << 32) | TestIndex; }

TTEntry SlotAt(int i) { return ttLoad(transpositionTable.buckets[TestIndex].entries[i]); }
void SetSlot(int i, const TTEntry& e) {
    ttSave(transpositionTable.buckets[TestIndex].entries[i], e);
}

class TranspositionTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureTables();
        ASSERT_EQ(ttAllocate(TestBuckets), TestBuckets);
        transpositionTable.useHashTable = true;
    }
};

TEST(TranspositionTableSize, CodesAndMegabytes) {
    EXPECT_EQ(BucketsForSizeCode(19) * sizeof(TTBucket), 6u << 20);
    EXPECT_EQ(BucketsForSizeCode(22), uint64_t{1} << 20);
    EXPECT_EQ(BucketsForSizeCode(22) * sizeof(TTBucket), 48u << 20);
    EXPECT_EQ(BucketsForSizeCode(27) * sizeof(TTBucket), uint64_t{3} << 29); // 1.5 GB
    EXPECT_EQ(BucketsForMegabytes(3), uint64_t{1} << 16);
    EXPECT_EQ(BucketsForMegabytes(48), uint64_t{1} << 20);
    EXPECT_EQ(BucketsForMegabytes(900), uint64_t{1} << 24);
    EXPECT_EQ(BucketsForMegabytes(47), uint64_t{1} << 19);
    // Ignored requests, and sizes far beyond the mask's reach, computed in 64 bits.
    EXPECT_EQ(BucketsForMegabytes(2), 0u);
    EXPECT_EQ(BucketsForMegabytes(-48), 0u);
    EXPECT_EQ(BucketsForMegabytes(int64_t{1} << 40), uint64_t{1} << 30);
    EXPECT_STREQ(HashSizeLabel(19), "6 MB");
    EXPECT_STREQ(HashSizeLabel(22), "48 MB");
    EXPECT_STREQ(HashSizeLabel(27), "1.5 GB");
    EXPECT_STREQ(HashSizeLabel(28), "");
}

// Allocation that fails above a byte limit, to see the table survive failures.
size_t allocationLimit = 0;
int allocationCalls = 0;
void* LimitedAllocator(size_t bytes) {
    ++allocationCalls;
    return bytes <= allocationLimit ? std::calloc(bytes, 1) : nullptr;
}

TEST_F(TranspositionTableTest, AllocationHalvesUntilItSucceedsAndKeepsTheOldTable) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(transpositionTable.buckets) % 64, 0u);
    EXPECT_EQ(transpositionTable.mask, TestBuckets - 1);
    EXPECT_EQ(transpositionTable.byteSize, TestBuckets * 48);

    allocationLimit = 300 * 48;
    allocationCalls = 0;
    EXPECT_EQ(ttAllocateWith(4096, LimitedAllocator), 256u);
    EXPECT_EQ(allocationCalls, 5); // 4096, 2048, 1024, 512, 256
    EXPECT_EQ(transpositionTable.mask, 255u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(transpositionTable.buckets) % 64, 0u);
    ttStore(KeyFor(5), -100, 100, 0, 20, 8, 0, 0, NoScore, 0);

    // Nothing at all can be had: the old table and its contents stay.
    allocationLimit = 0;
    EXPECT_EQ(ttAllocateWith(4096, LimitedAllocator), 256u);
    EXPECT_EQ(transpositionTable.mask, 255u);
    TTProbe probe;
    ttProbe(KeyFor(5), -100, 100, 8, 0, 0, probe);
    EXPECT_TRUE(probe.found);
}

TEST_F(TranspositionTableTest, ResizeAndClearLoseEverything) {
    ttStore(KeyFor(9), -100, 100, 0, 20, 8, 0, 0, NoScore, 0);
    pawnCache[123].key = 0x1234;
    pawnCache[123].valid = 1;
    ttClear();
    EXPECT_EQ(pawnCache[123].key, 0u); // the pawn cache goes with the table
    EXPECT_EQ(pawnCache[123].valid, 0);
    TTProbe probe;
    EXPECT_FALSE(ttProbe(KeyFor(9), -100, 100, 0, 0, 0, probe));
    EXPECT_FALSE(probe.found);
    ttStore(KeyFor(9), -100, 100, 0, 20, 8, 0, 0, NoScore, 0);
    EXPECT_TRUE(ttResizeMegabytes(3));
    EXPECT_EQ(transpositionTable.mask, (1u << 16) - 1);
    EXPECT_FALSE(ttResizeMegabytes(2));
    EXPECT_EQ(transpositionTable.mask, (1u << 16) - 1);
    EXPECT_FALSE(ttProbe(KeyFor(9), -100, 100, 0, 0, 0, probe));
    EXPECT_FALSE(probe.found);
}

// One slot's contents, as the scenarios write them.
struct Slot {
    uint32_t lock;
    int score;
    int depth;
    int bound;
    int age;
    Move move = 0;
    int staticEval = NoScore;
};

bool SameEntry(const TTEntry& a, const TTEntry& b) {
    return a.lock == b.lock && a.score == b.score && a.staticEval == b.staticEval &&
           a.move == b.move && a.depth == b.depth && a.age == b.age && a.flags == b.flags;
}

TTEntry MakeEntry(const Slot& s) {
    TTEntry e{};
    e.lock = s.lock;
    e.score = int16_t(s.score);
    e.staticEval = int16_t(s.staticEval);
    e.move = s.move;
    e.depth = int16_t(s.depth);
    e.age = uint8_t(s.age);
    e.flags = uint8_t(s.bound);
    return e;
}

// Stores (lock, score with window chosen for the bound, depth, age, move, eval) and names
// the slot index that must then hold the new lock, or the slot that must stay as it was.
struct ReplacementScenario {
    const char* name;
    Slot before[3];
    Slot stored;
    int expectSlot;      // where the stored entry (or the refreshed one) ends up
    bool expectReplaced; // the slot now holds the stored data (false: old data kept)
    Slot expectAfter;    // the expected contents of that slot
};

void PrintTo(const ReplacementScenario& s, std::ostream* out) { *out << s.name; }

class Replacement : public TranspositionTableTest,
                    public ::testing::WithParamInterface<ReplacementScenario> {};

void StoreSlot(const Slot& s) {
    // Windows that yield the wanted bound from the raw score.
    int alpha = s.bound == BoundUpper ? s.score : s.score - 1;
    int beta = s.bound == BoundLower ? s.score : s.score + 1;
    ttStore(KeyFor(s.lock), alpha, beta, s.move, s.score, s.depth, 0, s.age, s.staticEval, 0);
}

TEST_P(Replacement, VictimAndSamePositionRules) {
    const ReplacementScenario& c = GetParam();
    TTEntry before[3];
    for (int i = 0; i < 3; ++i) SetSlot(i, before[i] = MakeEntry(c.before[i]));
    StoreSlot(c.stored);
    for (int i = 0; i < 3; ++i) {
        const TTEntry e = SlotAt(i);
        if (i != c.expectSlot) {
            EXPECT_TRUE(SameEntry(e, before[i])) << "slot " << i << " changed";
            continue;
        }
        const Slot& x = c.expectAfter;
        EXPECT_EQ(e.lock, x.lock);
        EXPECT_EQ(e.score, x.score);
        EXPECT_EQ(e.depth, x.depth);
        EXPECT_EQ(e.bound(), x.bound);
        EXPECT_EQ(e.age, x.age);
        EXPECT_EQ(e.move, x.move);
        EXPECT_EQ(e.staticEval, x.staticEval);
    }
}

constexpr int U = BoundUpper, L = BoundLower, X = BoundExact;

const ReplacementScenario Scenarios[] = {
    {"EmptySlotFirst",
     {{1, 5, 4, X, 7}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
     {9, 20, 2, L, 7},
     1,
     true,
     {9, 20, 2, L, 7}},
    {"ShallowestOfCurrentAge",
     {{1, 5, 10, X, 7}, {2, 5, 6, X, 7}, {3, 5, 8, X, 7}},
     {9, 20, 2, L, 7},
     1,
     true,
     {9, 20, 2, L, 7}},
    {"EqualDepthInexactBeforeExact",
     {{1, 5, 6, X, 7}, {2, 5, 6, L, 7}, {3, 5, 6, X, 7}},
     {9, 20, 2, L, 7},
     1,
     true,
     {9, 20, 2, L, 7}},
    {"EverythingEqualTakesTheFirst",
     {{1, 5, 6, X, 7}, {2, 5, 6, X, 7}, {3, 5, 6, X, 7}},
     {9, 20, 2, L, 7},
     0,
     true,
     {9, 20, 2, L, 7}},
    // A non-Exact slot one half ply deeper ties with an Exact one: the earlier slot goes.
    {"InexactBonusTiesWithOneHalfPly",
     {{1, 5, 7, L, 7}, {2, 5, 6, X, 7}, {3, 5, 9, X, 7}},
     {9, 20, 2, L, 7},
     0,
     true,
     {9, 20, 2, L, 7}},
    {"TwoSearchesOldGoesBeforeAnyCurrent",
     {{1, 5, -6, U, 7}, {2, 5, 60, X, 5}, {3, 5, 0, U, 7}},
     {9, 20, 2, L, 7},
     1,
     true,
     {9, 20, 2, L, 7}},
    {"AgesWrapAsPlainDifferences",
     {{1, 5, 2, U, 0}, {2, 5, 40, X, 255}, {3, 5, 2, U, 0}},
     {9, 20, 2, L, 0},
     1,
     true,
     {9, 20, 2, L, 0}},
    {"PreviousSearchCostsFourHalfPlies",
     {{1, 5, 5, X, 6}, {2, 5, 2, X, 7}, {3, 5, 9, X, 7}},
     {9, 20, 2, L, 7},
     0,
     true,
     {9, 20, 2, L, 7}},
    {"PreviousSearchDeeperSlotStays",
     {{1, 5, 7, X, 6}, {2, 5, 2, X, 7}, {3, 5, 9, X, 7}},
     {9, 20, 2, L, 7},
     1,
     true,
     {9, 20, 2, L, 7}},
    {"ProvenMateSlotIsNotInexact",
     {{1, 9990, 10, L, 7}, {2, 5, 10, X, 7}, {3, 5, 10, U, 7}},
     {9, 20, 2, L, 7},
     2,
     true,
     {9, 20, 2, L, 7}},
    // Same position.
    {"DeeperEntryReplaces",
     {{4, 30, 4, X, 7, 100}, {}, {}},
     {4, 10, 8, U, 7},
     0,
     true,
     {4, 10, 8, U, 7, 100}},
    {"ShallowerUpperKeepsExactFillsMoveWithinTwo",
     {{4, 30, 10, X, 6}, {}, {}},
     {4, 10, 8, U, 7, 200, 55},
     0,
     false,
     {4, 30, 10, X, 7, 200, 55}},
    {"ShallowerUpperKeepsExactNoMoveBeyondTwo",
     {{4, 30, 10, X, 6}, {}, {}},
     {4, 10, 7, U, 7, 200},
     0,
     false,
     {4, 30, 10, X, 7, 0}},
    {"ShallowerUpperKeepsExactAndItsMove",
     {{4, 30, 10, X, 6, 300}, {}, {}},
     {4, 10, 9, U, 7, 200},
     0,
     false,
     {4, 30, 10, X, 7, 300}},
    {"QuiescenceNeverOverwritesDeeper",
     {{4, 30, 0, U, 6, 300}, {}, {}},
     {4, 10, -2, X, 7, 200},
     0,
     false,
     {4, 30, 0, U, 7, 300}},
    {"QuiescenceOverwritesLaterQuiescenceLevel",
     {{4, 30, -4, U, 7}, {}, {}},
     {4, 10, -2, X, 7},
     0,
     true,
     {4, 10, -2, X, 7}},
    {"StrongerShallowLowerKept",
     {{4, 50, 12, L, 7}, {}, {}},
     {4, 40, 10, L, 7},
     0,
     false,
     {4, 50, 12, L, 7}},
    {"HigherShallowLowerReplaces",
     {{4, 50, 12, L, 7}, {}, {}},
     {4, 60, 10, L, 7},
     0,
     true,
     {4, 60, 10, L, 7}},
    {"LowerShallowUpperKept",
     {{4, 50, 12, U, 7}, {}, {}},
     {4, 60, 10, U, 7},
     0,
     false,
     {4, 50, 12, U, 7}},
    {"MuchShallowerSameAgeKept",
     {{4, 50, 12, U, 7}, {}, {}},
     {4, 40, 6, U, 7},
     0,
     false,
     {4, 50, 12, U, 7}},
    {"MuchShallowerNewAgeReplaces",
     {{4, 50, 12, U, 6}, {}, {}},
     {4, 40, 6, U, 7},
     0,
     true,
     {4, 40, 6, U, 7}},
    {"ShallowerExactReplaces",
     {{4, 50, 12, L, 7}, {}, {}},
     {4, 40, 2, X, 7},
     0,
     true,
     {4, 40, 2, X, 7}},
    // A proven mate keeps its score; an Exact entry takes it over a bound.
    {"ProvenMateScoreSurvivesExactStore",
     {{4, 9990, 20, L, 7, 11}, {}, {}},
     {4, 100, 30, X, 7},
     0,
     true,
     {4, 9990, 30, X, 7, 11}},
    {"ProvenMateKeptOverDeeperBound",
     {{4, -9990, 20, U, 7, 11}, {}, {}},
     {4, -100, 30, U, 7},
     0,
     false,
     {4, -9990, 20, U, 7, 11}},
    {"NewEntryInheritsMoveAndEval",
     {{4, 50, 4, U, 7, 12, 33}, {}, {}},
     {4, 60, 6, L, 7},
     0,
     true,
     {4, 60, 6, L, 7, 12, 33}},
};

INSTANTIATE_TEST_SUITE_P(Scenarios, Replacement, ::testing::ValuesIn(Scenarios),
                         [](const auto& scenario) { return std::string(scenario.param.name); });

TEST_F(TranspositionTableTest, MateScoresAreStoredRelativeToTheNode) {
    // Mated in 12 from the root, found at ply 5: 7 plies from that node.
    uint64_t key = KeyFor(40);
    ttStore(key, -10001, 10001, 0, -(10000 - 12), 8, 5, 1, NoScore, 0);
    EXPECT_EQ(SlotAt(0).score, -(10000 - 7));
    for (int ply : {0, 3, 5, 9}) {
        TTProbe probe;
        ttProbe(key, -10001, 10001, 0, ply, 1, probe);
        EXPECT_EQ(probe.score, -(10000 - 7) + ply) << "ply " << ply;
    }
    ttStore(KeyFor(41), -10001, 10001, 0, 10000 - 9, 8, 4, 1, NoScore, 0);
    EXPECT_EQ(SlotAt(1).score, 10000 - 5);
    TTProbe probe;
    ttProbe(KeyFor(41), -10001, 10001, 0, 2, 1, probe);
    EXPECT_EQ(probe.score, 10000 - 7);
    // Ordinary scores are kept as they are.
    ttStore(KeyFor(42), -10001, 10001, 0, 9800, 8, 4, 1, NoScore, 0);
    EXPECT_EQ(SlotAt(2).score, 9800);
}

TEST_F(TranspositionTableTest, CutOffRules) {
    struct Case {
        int bound;
        int score;
        int depth;
        int alpha, beta, required;
        bool hit;
    };
    const Case cases[] = {
        {U, 10, 6, 20, 30, 6, true},    // at or below alpha with depth
        {U, 10, 6, 5, 30, 6, false},    // above alpha
        {U, 10, 4, 20, 30, 6, false},   // too shallow
        {U, -9798, 0, 20, 30, 6, true}, // close enough to a mate for any depth
        {U, -9797, 0, 20, 30, 6, false},
        {L, 40, 6, 20, 30, 6, true},
        {L, 40, 4, 20, 30, 6, false},
        {L, 9798, 0, 20, 30, 6, true},
        {L, 9797, 0, 20, 30, 6, false},
        {X, 25, 6, 20, 30, 6, true},
        {X, 25, 5, 20, 30, 6, false},
        // Proven mates beyond the window still cut off when deeper than required.
        {L, 9990, 8, -100, 10001, 6, true},  // 2 x 10 < 3 x 8
        {L, 9990, 8, -100, 10001, 8, false}, // only strictly deeper
        {L, 9990, 6, -100, 10001, 4, false}, // 2 x 10 >= 3 x 6: not proven
        {U, -9990, 8, -10001, 100, 6, true},
        {BoundNone, 25, 20, 20, 30, 6, false},
    };
    for (const Case& c : cases) {
        TTEntry e = MakeEntry({1, c.score, c.depth, c.bound, 0});
        EXPECT_EQ(ttCutsOff(e, c.score, c.alpha, c.beta, c.required), c.hit)
            << "bound " << c.bound << " score " << c.score << " depth " << c.depth;
    }
}

TEST_F(TranspositionTableTest, ProbeOutputsAndAgeRefresh) {
    uint64_t key = KeyFor(50);
    TTProbe probe;
    probe.move = 1234;
    EXPECT_FALSE(ttProbe(key, -100, 100, 2, 0, 3, probe));
    EXPECT_FALSE(probe.found);
    EXPECT_EQ(probe.move, 1234); // untouched when not found

    ttStore(key, 0, 100, 555, 0, 6, 0, 3, 42, 0); // an Upper bound at 0
    // Found without a cut-off: everything but the age.
    EXPECT_FALSE(ttProbe(key, -50, 100, 6, 0, 9, probe));
    EXPECT_TRUE(probe.found);
    EXPECT_EQ(probe.move, 555);
    EXPECT_EQ(probe.score, 0);
    EXPECT_EQ(probe.depth, 6);
    EXPECT_EQ(probe.bound, BoundUpper);
    EXPECT_EQ(probe.staticEval, 42);
    EXPECT_EQ(SlotAt(0).age, 3);
    // A hit writes the probing search's age.
    EXPECT_TRUE(ttProbe(key, 10, 100, 6, 0, 9, probe));
    EXPECT_EQ(SlotAt(0).age, 9);
}

TEST_F(TranspositionTableTest, HintBitsPassThroughUnchanged) {
    for (int hints = 0; hints < 4; ++hints) {
        for (int bound : {U, L, X}) {
            uint64_t key = KeyFor(60 + hints * 4 + bound);
            int alpha = bound == U ? 10 : 9, beta = bound == L ? 10 : 11;
            ttStore(key, alpha, beta, 0, 10, 4, 0, 0, NoScore, hints);
            TTProbe probe;
            ttProbe(key, -100, 100, 4, 0, 0, probe);
            EXPECT_EQ(probe.hints, hints);
            EXPECT_EQ(probe.bound, bound);
        }
    }
}

TEST_F(TranspositionTableTest, InvalidScoresAreNeverStoredAndMatesAreClamped) {
    for (int score : {AbortScore, -AbortScore, NoScore, -NoScore}) {
        ttStore(KeyFor(70), -10001, 10001, 0, score, 4, 0, 0, NoScore, 0);
        EXPECT_EQ(SlotAt(0).lock, 0u) << score;
    }
    ttStore(KeyFor(71), -10001, 10001, 0, 10003, 4, 0, 0, NoScore, 0);
    EXPECT_EQ(SlotAt(0).score, 10000);
    ttStore(KeyFor(72), -20000, 10001, 0, -12000, 4, 6, 0, NoScore, 0);
    EXPECT_EQ(SlotAt(1).score, -10000);
}

TEST_F(TranspositionTableTest, SwitchedOffTableNeitherProbesNorStores) {
    ttStore(KeyFor(80), -100, 100, 0, 5, 4, 0, 0, NoScore, 0);
    transpositionTable.useHashTable = false;
    ttStore(KeyFor(81), -100, 100, 0, 5, 4, 0, 0, NoScore, 0);
    TTProbe probe;
    EXPECT_FALSE(ttProbe(KeyFor(80), -100, 100, 0, 0, 0, probe));
    EXPECT_FALSE(probe.found);
    EXPECT_EQ(SlotAt(1).lock, 0u);
    transpositionTable.useHashTable = true;
    EXPECT_TRUE(ttProbe(KeyFor(80), -100, 100, 0, 0, 0, probe));
}

TEST_F(TranspositionTableTest, LockZeroNeverMatchesAnEmptySlot) {
    TTProbe probe;
    EXPECT_FALSE(ttProbe(KeyFor(0), 0, 100, -6, 0, 0, probe));
    EXPECT_FALSE(probe.found);
    int score = 1, eval = 2;
    EXPECT_FALSE(ttProbeQuiescence(KeyFor(0), 0, 100, -6, 0, score, eval));
}

TEST_F(TranspositionTableTest, QuiescenceProbeTestsEveryMatchingSlot) {
    // Three slots of one lock (a leftover of earlier replacements).
    SetSlot(0, MakeEntry({90, 500, -2, L, 0, 0, NoScore}));
    SetSlot(1, MakeEntry({90, 0, -2, U, 0, 0, 17}));
    SetSlot(2, MakeEntry({90, 300, -2, L, 0, 0, 19}));
    int score = 0, eval = NoScore;
    EXPECT_TRUE(ttProbeQuiescence(KeyFor(90), 100, 200, -2, 0, score, eval));
    EXPECT_EQ(score, 500);
    score = 0;
    EXPECT_TRUE(ttProbeQuiescence(KeyFor(90), 100, 600, -2, 0, score, eval));
    EXPECT_EQ(score, 0);
    EXPECT_EQ(eval, 17);
    EXPECT_EQ(SlotAt(0).age, 0); // no refresh
}

// Search threads write slots word by word, so a reader may meet one write's key word beside
// another's data word. Such a mixture must decode to a lock no probe asks for.
TEST_F(TranspositionTableTest, TornSlotsAreNeverUsed) {
    std::mt19937_64 random(21);
    auto randomEntry = [&](uint32_t lock) {
        uint64_t bits = random();
        TTEntry e =
            MakeEntry({lock, int(int16_t(bits)), int(int16_t(bits >> 16)), int(bits % 3),
                       int(uint8_t(bits >> 24)), Move(bits >> 32), int(int16_t(bits >> 48))});
        return e;
    };
    for (int i = 0; i < 100000; ++i) {
        uint32_t lock = uint32_t(random()) | 1;
        TTEntry a = randomEntry(lock), b = randomEntry(lock);
        TTSlot first{}, second{};
        ttSave(first, a);
        ttSave(second, b);
        TTSlot torn{first.keyWord, second.dataWord};
        if (first.dataWord == second.dataWord) continue;
        ASSERT_NE(ttLoad(torn).lock, lock) << i;
        ASSERT_TRUE(SameEntry(ttLoad(second), b));
    }
    // In the table: the probe passes over the torn slot.
    TTEntry a = MakeEntry({33, 250, 12, L, 0, 777, 40});
    TTEntry b = MakeEntry({33, -90, 4, U, 0, 999, -15});
    TTSlot first{}, second{};
    ttSave(first, a);
    ttSave(second, b);
    TTSlot& slot = transpositionTable.buckets[TestIndex].entries[1];
    slot = TTSlot{first.keyWord, second.dataWord};
    TTProbe probe;
    EXPECT_FALSE(ttProbe(KeyFor(33), -1000, 1000, 0, 0, 0, probe));
    EXPECT_FALSE(probe.found);
    slot = second;
    EXPECT_TRUE(ttProbe(KeyFor(33), 0, 1000, 2, 0, 0, probe));
    EXPECT_EQ(probe.move, 999);
}

// Four threads store and probe the same few buckets at once. Every entry they write is whole
// and self-consistent (its fields all follow from its score), so every entry a probe finds must
// be too: a mixture of two writes would show.
TEST_F(TranspositionTableTest, ConcurrentStoresAndProbesSeeWholeEntries) {
    constexpr int Threads = 4, Rounds = 40000;
    constexpr uint32_t Index = 5;
    auto keyOf = [](uint32_t lock, uint32_t bucket) {
        return (uint64_t(lock) << 32) | (Index + bucket);
    };
    // score s in -500..499 determines the rest (never a mate, a zero move or NoScore).
    auto depthOf = [](int s) { return (s + 500) % 61; };
    auto moveOf = [](uint32_t lock, int s) { return Move(1 + ((lock * 131 + s + 500) % 4000)); };
    auto evalOf = [](int s) { return (s * 7) % 900; };
    std::atomic<int> inconsistent{0}, found{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([&, t] {
            std::mt19937 random(uint32_t(t + 1));
            for (int i = 0; i < Rounds; ++i) {
                uint32_t lock = 1 + random() % 6, bucket = random() % 2;
                int s = int(random() % 1000) - 500;
                if (random() % 2) {
                    ttStore(keyOf(lock, bucket), -30000 + 1, 30000 - 1, moveOf(lock, s), s,
                            depthOf(s), 0, int(random() % 4), evalOf(s), 0);
                    continue;
                }
                TTProbe probe;
                int required = random() % 2 ? 0 : 1000; // a hit refreshes the age
                ttProbe(keyOf(lock, bucket), 0, 0, required, 0, int(random() % 4), probe);
                if (!probe.found) continue;
                found.fetch_add(1, std::memory_order_relaxed);
                int score = probe.score;
                if (probe.bound != BoundExact || probe.depth != depthOf(score) ||
                    probe.move != moveOf(lock, score) || probe.staticEval != evalOf(score))
                    inconsistent.fetch_add(1, std::memory_order_relaxed);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_GT(found.load(), 0);
    EXPECT_EQ(inconsistent.load(), 0);
}

TEST_F(TranspositionTableTest, DisplayTexts) {
    test::FenPosition white("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    test::FenPosition black("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
    EXPECT_EQ(ttEntryText(white.position), "Not Found");

    uint64_t whiteKey = ComputeKey(white.position);
    Move e2e4 = MakeMoveCode(52, 36);
    ttStore(whiteKey, -50, 50, e2e4, 25, 13, 0, 4, NoScore, HintSingular);
    EXPECT_EQ(ttEntryText(white.position),
              "Eval: 25  \nMove: e4 \nDepth: 6.50\nExact\nAge: 4\nSingular\nSize: 48 KB");

    // Black to move: the score from White's view and the bound prefixes swapped.
    uint64_t blackKey = ComputeKey(black.position);
    ttStore(blackKey, 30, 90, 0, 30, 12, 0, 2, NoScore, 0); // Upper at 30
    EXPECT_EQ(ttEntryText(black.position),
              "Eval: >= -30  \nMove:  \nDepth: 6.0\nFail Low\nAge: 2\nSize: 48 KB");
    ttStore(blackKey, -10001, 9000, 0, 9995, 20, 0, 2, NoScore, 0); // Lower, a proven mate
    EXPECT_EQ(ttEntryText(black.position),
              "Eval: <= -9995  \nMove:  \nDepth: 10.0\nFail High\nAge: 2\nMate\nSize: 48 KB");

    // Still shown with the table switched off.
    transpositionTable.useHashTable = false;
    EXPECT_NE(ttEntryText(black.position), "Not Found");
}

} // namespace
} // namespace corvid
