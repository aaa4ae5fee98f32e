#include "search/search_threads.h"

#include "eval/pawn_cache.h"
#include "platform/thread.h"
#include "search/root_search.h"
#include "search/search_info.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace corvid {

namespace {

struct Helper {
    int number = 0; // 1 and up
    LargeStackThread thread;
    std::unique_ptr<SearchContext> context;
    std::unique_ptr<PawnCacheEntry[]> pawnCache;
    uint64_t generationSeen = 0;
};

// The helpers and the hand-over to them. The main search thread alone starts, stops, adds and
// ends helpers; the vector changes only while every helper is idle.
struct HelperPool {
    std::mutex mutex;
    std::condition_variable wake; // helpers: a new search, or the end of their thread
    std::condition_variable done; // the main search: the last helper has finished
    uint64_t generation = 0;      // searches handed out so far
    int searching = 0;            // helpers still searching the current generation
    int maxDepth = 0;
    int kept = 0; // helpers numbered above this end their thread
    std::atomic<bool> stop{false};
    std::vector<std::unique_ptr<Helper>> helpers;

    ~HelperPool() { resize(0); }
    void resize(int count);
};

// Per process.
HelperPool pool;

void helperLoop(Helper& h) {
    usePawnCache(h.pawnCache.get(), HelperPawnCacheEntries);
    for (;;) {
        int maxDepth = 0;
        {
            std::unique_lock<std::mutex> lock(pool.mutex);
            pool.wake.wait(
                lock, [&] { return h.number > pool.kept || pool.generation != h.generationSeen; });
            if (h.number > pool.kept) break;
            h.generationSeen = pool.generation;
            maxDepth = pool.maxDepth;
        }
        catchUpPawnCacheClear();
        helperRootSearch(*h.context, maxDepth, h.number);
        {
            std::lock_guard<std::mutex> lock(pool.mutex);
            if (--pool.searching == 0) pool.done.notify_all();
        }
    }
    usePawnCache(nullptr, 0);
}

void HelperPool::resize(int count) {
    count = std::clamp(count, 0, MaxSearchThreads - 1);
    if (count < int(helpers.size())) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            kept = count;
        }
        wake.notify_all();
        while (int(helpers.size()) > count) {
            helpers.back()->thread.join();
            helpers.pop_back();
        }
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        kept = count;
    }
    while (int(helpers.size()) < count) {
        auto h = std::make_unique<Helper>();
        h->number = int(helpers.size()) + 1;
        h->context.reset(new (std::nothrow) SearchContext());
        h->pawnCache.reset(new (std::nothrow) PawnCacheEntry[HelperPawnCacheEntries]());
        // Without the memory or the thread, the search goes on with the helpers it has.
        if (!h->context || !h->pawnCache) break;
        {
            std::lock_guard<std::mutex> lock(mutex);
            h->generationSeen = generation;
        }
        Helper& helper = *h;
        if (!helper.thread.start([&helper] { helperLoop(helper); })) break;
        helpers.push_back(std::move(h));
    }
}

// The helper's context takes the main search's root as it stands before the first iteration.
void setUpHelperContext(SearchContext& h, const SearchContext& main) {
    setUpSearchContext(h, main.rootPosition, main.keyHistory);
    h.analysisLines = 1;
    h.switches = main.switches;
    h.nodeLimit = 0;
    h.rootPly = main.rootPly;
    h.searchAge = main.searchAge;
    h.nullMoveAllowed = main.nullMoveAllowed;
    h.rootMoves = main.rootMoves;
    h.helperStop = &pool.stop;
}

} // namespace

void startHelperSearch(const SearchContext& main, int maxDepth) {
    int threads = std::clamp(int(searchInfo.searchThreads.load()), 1, MaxSearchThreads);
    pool.resize(threads - 1);
    if (pool.helpers.empty()) return;
    for (auto& h : pool.helpers) setUpHelperContext(*h->context, main);
    {
        std::lock_guard<std::mutex> lock(pool.mutex);
        pool.stop.store(false);
        pool.maxDepth = maxDepth;
        pool.searching = int(pool.helpers.size());
        ++pool.generation;
    }
    pool.wake.notify_all();
}

void stopHelperSearch() {
    if (pool.helpers.empty()) return;
    pool.stop.store(true);
    std::unique_lock<std::mutex> lock(pool.mutex);
    pool.done.wait(lock, [] { return pool.searching == 0; });
}

uint64_t helperNodes() {
    uint64_t sum = 0;
    for (const auto& h : pool.helpers) sum += h->context->nodes;
    return sum;
}

uint64_t helperQuiescenceNodes() {
    uint64_t sum = 0;
    for (const auto& h : pool.helpers) sum += h->context->qnodes;
    return sum;
}

int helperThreadCount() { return int(pool.helpers.size()); }

void endHelperThreads() { pool.resize(0); }

size_t helperThreadBytes() {
    return sizeof(SearchContext) + sizeof(PawnCacheEntry) * HelperPawnCacheEntries;
}

} // namespace corvid
