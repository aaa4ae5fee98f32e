// The evaluation cache: the piece terms (activity, king safety, passed pawns) of positions
// evaluated in full, kept by position key. The search meets many positions again that the
// transposition table does not hold (most quiescence nodes), and these terms are the bulk of
// an evaluation. The terms depend on the position alone, so a hit gives exactly the value the
// evaluation would compute.
#pragma once

#include <cstdint>

namespace corvid {

struct EvalCacheEntry {
    uint64_t key;
    int32_t pieceTerms;
    uint32_t filled; // zero in a cleared entry, so key 0 never matches one
};

constexpr int EvalCacheEntries = 1 << 16; // 1 MB: near the processor's own caches

struct EvalCache {
    EvalCacheEntry entries[EvalCacheEntries];
};

// Zeroes every entry. The terms follow the evaluation weights, which may change between
// searches, so each search starts with a cleared cache.
void clearEvalCache(EvalCache& cache);

// Makes the calling thread evaluate with the cache (a search thread, for the length of its
// search); nullptr: the thread evaluates without one.
void useEvalCache(EvalCache* cache);

// The calling thread's slot for the key (it may hold another position), or nullptr when the
// thread has no cache.
EvalCacheEntry* evalCacheSlot(uint64_t key);

} // namespace corvid
