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
// A helper search thread's own cache, when it has one.
constinit thread_local PawnCacheEntry* ownCache = nullptr;
constinit thread_local uint32_t ownMask = 0;
constinit thread_local uint64_t clearsSeen = 0;

// Clears of pawnCache so far.
constinit std::atomic<uint64_t> clearCount{0};

} // namespace

void clearPawnCache() {
    adviseHugePages(pawnCache, sizeof pawnCache);
    std::memset(static_cast<void*>(pawnCache), 0, sizeof pawnCache);
    clearCount.fetch_add(1);
}

void usePawnCache(PawnCacheEntry* entries, int count) {
    ownCache = count > 0 ? entries : nullptr;
    ownMask = ownCache ? uint32_t(count - 1) : 0;
    clearsSeen = clearCount.load();
}

void catchUpPawnCacheClear() {
    uint64_t clears = clearCount.load();
    if (clears == clearsSeen) return;
    clearsSeen = clears;
    if (ownCache)
        std::memset(static_cast<void*>(ownCache), 0, sizeof(PawnCacheEntry) * (ownMask + 1));
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
    if (ownCache) return ownCache[pawnKey & ownMask];
    return privateCache[pawnKey & (PrivateEntries - 1)];
}

void prefetchPawnCacheSlot(uint64_t pawnKey) { __builtin_prefetch(&pawnCacheSlot(pawnKey)); }

void invalidatePawnCacheEntry(uint64_t pawnKey) {
    PawnCacheEntry& entry = pawnCacheSlot(pawnKey);
    if (entry.key == pawnKey) entry.valid = 0;
}

} // namespace corvid
