#include "eval/eval_cache.h"

#include <cstring>

namespace corvid {

namespace {

constinit thread_local EvalCache* ownCache = nullptr;

} // namespace

void clearEvalCache(EvalCache& cache) {
    std::memset(static_cast<void*>(cache.entries), 0, sizeof cache.entries);
}

void useEvalCache(EvalCache* cache) { ownCache = cache; }

EvalCacheEntry* evalCacheSlot(uint64_t key) {
    return ownCache ? &ownCache->entries[key & (EvalCacheEntries - 1)] : nullptr;
}

} // namespace corvid
