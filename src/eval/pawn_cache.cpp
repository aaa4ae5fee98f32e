#include "eval/pawn_cache.h"

#include "platform/large_pages.h"

#include <atomic>
#include <cstring>

namespace corvid {

constinit PawnCacheEntry pawnCache[PawnCacheEntries]{};

namespace {

// Enough for the occasional evaluation on the interface or protocol thread.
constexpr int PrivateEntries = 64;

// Set while some thread owns pawnCache.
constinit std::atomic<bool> sharedClaimed{false};
constinit thread_local bool ownsShared = false;
constinit thread_local PawnCacheEntry privateCache[PrivateEntries]{};

} // namespace

void clearPawnCache() {
    adviseHugePages(pawnCache, sizeof pawnCache);
    std::memset(static_cast<void*>(pawnCache), 0, sizeof pawnCache);
}

bool claimPawnCache() {
    if (ownsShared) return true;
    bool expected = false;
    ownsShared = sharedClaimed.compare_exchange_strong(expected, true);
    return ownsShared;
}

void releasePawnCache() {
    if (!ownsShared) return;
    ownsShared = false;
    sharedClaimed.store(false);
}

PawnCacheEntry& pawnCacheSlot(uint64_t pawnKey) {
    if (ownsShared) return pawnCache[pawnKey & (PawnCacheEntries - 1)];
    return privateCache[pawnKey & (PrivateEntries - 1)];
}

void prefetchPawnCacheSlot(uint64_t pawnKey) { __builtin_prefetch(&pawnCacheSlot(pawnKey)); }

void invalidatePawnCacheEntry(uint64_t pawnKey) {
    PawnCacheEntry& entry = pawnCacheSlot(pawnKey);
    if (entry.key == pawnKey) entry.valid = 0;
}

} // namespace corvid
