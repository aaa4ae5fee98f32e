#include "eval/pawn_cache.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace corvid {

PawnCacheEntry pawnCache[PawnCacheEntries];

namespace {

// Enough for the occasional evaluation on the interface or protocol thread.
constexpr int PrivateEntries = 64;

std::atomic<std::thread::id> sharedOwner{};
thread_local bool ownsShared = false;
thread_local PawnCacheEntry privateCache[PrivateEntries];

} // namespace

void clearPawnCache() { std::memset(static_cast<void *>(pawnCache), 0, sizeof pawnCache); }

bool claimPawnCache() {
    if (ownsShared) return true;
    std::thread::id none{};
    std::thread::id self = std::this_thread::get_id();
    if (sharedOwner.compare_exchange_strong(none, self) || none == self) ownsShared = true;
    return ownsShared;
}

void releasePawnCache() {
    if (!ownsShared) return;
    ownsShared = false;
    sharedOwner.store(std::thread::id{});
}

PawnCacheEntry &pawnCacheSlot(uint64_t pawnKey) {
    if (ownsShared) return pawnCache[pawnKey & (PawnCacheEntries - 1)];
    return privateCache[pawnKey & (PrivateEntries - 1)];
}

void prefetchPawnCacheSlot(uint64_t pawnKey) { __builtin_prefetch(&pawnCacheSlot(pawnKey)); }

void invalidatePawnCacheEntry(uint64_t pawnKey) {
    PawnCacheEntry &entry = pawnCacheSlot(pawnKey);
    if (entry.key == pawnKey) entry.valid = 0;
}

} // namespace corvid
