#include "search/transposition_table.h"

#include "chess/make_move.h"
#include "eval/pawn_cache.h"
#include "platform/engine_reporter.h"
#include "platform/large_pages.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace corvid {

TranspositionTable transpositionTable;

namespace {

constexpr uint64_t MinBuckets = 8;
constexpr uint64_t MaxBuckets = uint64_t{1} << 30;
// A bound this close to a mate needs no depth to cut off.
constexpr int MateBoundCutoff = 9798;
// Largest magnitude that is a score at all; NoScore and AbortScore lie beyond it.
constexpr int LargestScore = 30000 - 1;

uint32_t LockOf(uint64_t key) { return uint32_t(key >> 32); }

TTBucket& BucketOf(const TranspositionTable& table, uint64_t key) {
    return table.buckets[uint32_t(key) & table.mask];
}

// The 32 bits of the data word that guard the lock: every bit of the data affects them.
uint32_t DataMix(uint64_t data) { return uint32_t((data * 0x9E3779B97F4A7C15ull) >> 32); }

uint64_t LoadWord(const uint64_t& word) {
    return std::atomic_ref<const uint64_t>(word).load(std::memory_order_relaxed);
}
void StoreWord(uint64_t& word, uint64_t value) {
    std::atomic_ref<uint64_t>(word).store(value, std::memory_order_relaxed);
}

int AgeDistance(int a, int b) { return a > b ? a - b : b - a; }

int ReplacementValue(const TTEntry& e, int newAge) {
    int distance = AgeDistance(newAge, e.age);
    int agePenalty = distance > 1 ? 1000 : distance == 1 ? 4 : 0;
    int inexact = e.bound() != BoundExact && !isProvenMate(e) ? 1 : 0;
    return 1000 - e.depth + agePenalty + inexact;
}

// The same position is stored again: keep the more valuable of the two entries.
void ReplaceSamePosition(TTEntry& v, TTEntry n) {
    bool replace = true;
    bool newExact = n.bound() == BoundExact;
    if (isProvenMate(v) &&
        ((v.score < 0 && v.score <= n.score) || (v.score > 0 && v.score >= n.score))) {
        replace = newExact && v.bound() != BoundExact;
        n.score = v.score;
    }
    if (n.depth < 0 && n.depth < v.depth) {
        replace = false;
    } else if (replace && n.depth < v.depth && !newExact) {
        if (v.bound() == BoundExact) replace = false;
        if (n.bound() == BoundLower && v.bound() == BoundLower && v.score > n.score)
            replace = false;
        if (n.bound() == BoundUpper && v.bound() == BoundUpper && v.score < n.score)
            replace = false;
        if (n.depth <= v.depth - v.depth / 3 - 2 && n.age == v.age && !isProvenMate(n))
            replace = false;
    }
    if (n.move == NoMove) n.move = v.move;
    if (n.staticEval == NoScore) n.staticEval = v.staticEval;
    if (replace) {
        v = n;
        return;
    }
    v.age = n.age;
    if (v.move == NoMove && n.depth >= v.depth - 2) v.move = n.move;
    if (v.staticEval == NoScore) v.staticEval = n.staticEval;
}

} // namespace

TTEntry ttLoad(const TTSlot& slot) {
    uint64_t keyWord = LoadWord(slot.keyWord);
    uint64_t data = LoadWord(slot.dataWord);
    TTEntry e;
    e.lock = uint32_t(keyWord) ^ DataMix(data);
    e.age = uint8_t(keyWord >> 32);
    e.flags = uint8_t(keyWord >> 40);
    e.score = int16_t(uint16_t(data));
    e.staticEval = int16_t(uint16_t(data >> 16));
    e.move = Move(data >> 32);
    e.depth = int16_t(uint16_t(data >> 48));
    return e;
}

void ttSave(TTSlot& slot, const TTEntry& e) {
    uint64_t data = uint64_t(uint16_t(e.score)) | uint64_t(uint16_t(e.staticEval)) << 16 |
                    uint64_t(uint16_t(e.move)) << 32 | uint64_t(uint16_t(e.depth)) << 48;
    uint64_t keyWord =
        uint64_t(e.lock ^ DataMix(data)) | uint64_t(e.age) << 32 | uint64_t(e.flags) << 40;
    StoreWord(slot.dataWord, data);
    StoreWord(slot.keyWord, keyWord);
}

void PrefetchBucket(const TranspositionTable* table, uint64_t key) {
    if (!table || !table->buckets) return;
    const char* address = reinterpret_cast<const char*>(&BucketOf(*table, key));
    // A 48-byte bucket can straddle two cache lines.
    __builtin_prefetch(address);
    __builtin_prefetch(address + sizeof(TTBucket) - 1);
}

uint64_t BucketsForSizeCode(int code) {
    code = std::clamp(code, 6, 32);
    return uint64_t{1} << (code - 2);
}

uint64_t BucketsForMegabytes(int64_t megabytes) {
    if (megabytes <= 2) return 0;
    uint64_t limit = uint64_t(megabytes) * (uint64_t{1} << 20) / sizeof(TTBucket);
    uint64_t buckets = MinBuckets;
    while (buckets < MaxBuckets && buckets * 2 <= limit) buckets *= 2;
    return buckets;
}

const char* HashSizeLabel(int code) {
    static const char* const Labels[] = {"6 MB",   "12 MB",  "24 MB",  "48 MB", "96 MB",
                                         "192 MB", "384 MB", "768 MB", "1.5 GB"};
    return code >= 19 && code <= 27 ? Labels[code - 19] : "";
}

uint64_t ttAllocate(uint64_t buckets) { return ttAllocateWith(buckets, allocateLargeZeroed); }

uint64_t ttAllocateWith(uint64_t buckets, ZeroedAllocator allocate) {
    TranspositionTable& table = transpositionTable;
    buckets = std::clamp(buckets, MinBuckets, MaxBuckets);
    for (; buckets >= MinBuckets; buckets /= 2) {
        uint64_t bytes = buckets * sizeof(TTBucket);
        void* block = allocate(bytes + 63); // the slack pays for the 64-byte alignment
        if (!block) continue;
        std::free(table.block);
        table.block = block;
        uintptr_t aligned = (reinterpret_cast<uintptr_t>(block) + 63) & ~uintptr_t{63};
        table.buckets = reinterpret_cast<TTBucket*>(aligned);
        table.mask = uint32_t(buckets - 1);
        table.byteSize = bytes;
        return buckets;
    }
    return table.buckets ? uint64_t(table.mask) + 1 : 0;
}

uint64_t ttResize(int sizeCode) { return ttAllocate(BucketsForSizeCode(sizeCode)); }

bool ttResizeMegabytes(int64_t megabytes) {
    uint64_t buckets = BucketsForMegabytes(megabytes);
    if (buckets == 0) return false;
    ttAllocate(buckets);
    return true;
}

void ttClear() {
    TranspositionTable& table = transpositionTable;
    if (table.buckets) std::memset(static_cast<void*>(table.buckets), 0, table.byteSize);
    clearPawnCache();
    reporter().statusText("Cleared Hash");
}

uint32_t ttNewSearchAge() { return transpositionTable.searchAge++; }

int ScoreToTable(int score, int ply) {
    if (score > MateThreshold) return score + ply;
    if (score < -MateThreshold) return score - ply;
    return score;
}

int ScoreFromTable(int stored, int ply) {
    if (stored > MateThreshold) return stored - ply;
    if (stored < -MateThreshold) return stored + ply;
    return stored;
}

bool isProvenMate(const TTEntry& entry) {
    int s = entry.score;
    switch (entry.bound()) {
    case BoundExact:
        if (s < MateThreshold && s > -MateThreshold) return false;
        break;
    case BoundLower:
        if (s < MateThreshold) return false;
        break;
    case BoundUpper:
        if (s > -MateThreshold) return false;
        break;
    default:
        return false;
    }
    int distance = MateValue - (s < 0 ? -s : s);
    return 2 * distance < 3 * entry.depth;
}

bool ttCutsOff(const TTEntry& entry, int score, int alpha, int beta, int requiredDepth) {
    int depth = entry.depth;
    switch (entry.bound()) {
    case BoundUpper:
        if (score <= alpha && (depth >= requiredDepth || score <= -MateBoundCutoff)) return true;
        break;
    case BoundLower:
        if (score >= beta && (depth >= requiredDepth || score >= MateBoundCutoff)) return true;
        break;
    case BoundExact:
        if (depth >= requiredDepth) return true;
        break;
    default:
        break;
    }
    return depth > requiredDepth && isProvenMate(entry);
}

bool ttProbe(uint64_t key, int alpha, int beta, int requiredDepth, int ply, int age, TTProbe& out) {
    const TranspositionTable& table = transpositionTable;
    if (!table.buckets || !table.useHashTable.load(std::memory_order_relaxed)) return false;
    uint32_t lock = LockOf(key);
    // A key whose lock is 0 would match every empty slot.
    if (lock == 0) return false;
    for (TTSlot& slot : BucketOf(table, key).entries) {
        TTEntry entry = ttLoad(slot);
        if (entry.lock != lock) continue;
        int score = ScoreFromTable(entry.score, ply);
        bool hit = ttCutsOff(entry, score, alpha, beta, requiredDepth);
        if (hit && entry.age != uint8_t(age)) {
            entry.age = uint8_t(age);
            ttSave(slot, entry);
        }
        out.found = true;
        out.move = entry.move;
        out.score = score;
        out.depth = entry.depth;
        out.bound = entry.bound();
        out.staticEval = entry.staticEval;
        out.hints = entry.hints();
        return hit;
    }
    return false;
}

bool ttProbeQuiescence(uint64_t key, int alpha, int beta, int requiredDepth, int ply, int& score,
                       int& staticEval) {
    const TranspositionTable& table = transpositionTable;
    if (!table.buckets || !table.useHashTable.load(std::memory_order_relaxed)) return false;
    uint32_t lock = LockOf(key);
    if (lock == 0) return false;
    bool evalSeen = false;
    for (const TTSlot& slot : BucketOf(table, key).entries) {
        TTEntry entry = ttLoad(slot);
        if (entry.lock != lock) continue;
        if (!evalSeen && entry.staticEval != NoScore) {
            staticEval = entry.staticEval;
            evalSeen = true;
        }
        int adjusted = ScoreFromTable(entry.score, ply);
        if (ttCutsOff(entry, adjusted, alpha, beta, requiredDepth)) {
            score = adjusted;
            return true;
        }
    }
    return false;
}

bool ttBuildEntry(uint64_t key, int alpha, int beta, Move move, int score, int depth, int ply,
                  int age, int staticEval, int hints, TTEntry& entry) {
    if (score > LargestScore || score < -LargestScore) return false;
    int bound = score <= alpha ? BoundUpper : score >= beta ? BoundLower : BoundExact;
    int stored = std::clamp(ScoreToTable(score, ply), -MateValue, MateValue);
    entry.lock = LockOf(key);
    entry.score = int16_t(stored);
    entry.staticEval = int16_t(std::clamp(staticEval, NoScore, -NoScore));
    entry.move = move;
    entry.depth = int16_t(std::clamp(depth, -32768, 32767));
    entry.age = uint8_t(age);
    entry.flags = uint8_t(bound | ((hints & 3) << 2));
    return true;
}

void ttStoreEntry(uint64_t key, const TTEntry& entry) {
    TranspositionTable& table = transpositionTable;
    if (!table.buckets || !table.useHashTable.load(std::memory_order_relaxed)) return;
    TTSlot* slots = BucketOf(table, key).entries;
    // Decoded once: other threads may rewrite the slots meanwhile, which costs at worst a
    // poorer choice of victim.
    TTEntry current[3] = {ttLoad(slots[0]), ttLoad(slots[1]), ttLoad(slots[2])};
    int victim = -1;
    for (int i = 0; i < 3 && victim < 0; ++i)
        if (current[i].lock == 0 || current[i].lock == entry.lock) victim = i;
    if (victim < 0) {
        victim = 0;
        int best = ReplacementValue(current[0], entry.age);
        for (int i = 1; i < 3; ++i) {
            int value = ReplacementValue(current[i], entry.age);
            if (value > best) {
                best = value;
                victim = i;
            }
        }
    }
    TTEntry& v = current[victim];
    if (v.lock != entry.lock)
        v = entry;
    else
        ReplaceSamePosition(v, entry);
    ttSave(slots[victim], v);
}

void ttStore(uint64_t key, int alpha, int beta, Move move, int score, int depth, int ply, int age,
             int staticEval, int hints) {
    TTEntry entry;
    if (ttBuildEntry(key, alpha, beta, move, score, depth, ply, age, staticEval, hints, entry))
        ttStoreEntry(key, entry);
}

} // namespace corvid
