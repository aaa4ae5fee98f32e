// Helper search threads: they search beside the main search and share only the table; the main
// search alone chooses the move, reports and stops, and one thread searches exactly as before.
#include "chess/make_move.h"
#include "platform/clock.h"
#include "platform/thread.h"
#include "search/search_report.h"
#include "search/search_threads.h"
#include "support/search_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace corvid {
namespace {

// Sanitizer builds run several times slower and keep shadow memory beside every byte.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif

constexpr const char* Middlegame =
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";
constexpr const char* MateInTwo = // Nf6+ gxf6 Bxf7#
    "r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1";

// One thread count for a test; afterwards one thread again, without helpers.
struct ThreadsScope {
    explicit ThreadsScope(int threads) { searchInfo.searchThreads.store(threads); }
    ~ThreadsScope() {
        searchInfo.searchThreads.store(1);
        endHelperThreads();
    }
};

// An analysis (no clock) of the FEN to depth plies from a cleared table with the threads.
test::SearchRun Search(const char* fen, int depth, int threads) {
    test::SearchSettings settings;
    test::SearchRun run = test::PrepareSearch(fen);
    searchInfo.searchThreads.store(threads);
    ttClear();
    run.best = rootSearch(*run.context, depth);
    run.score = run.context->rootLines[0].score;
    run.nodes = searchedNodes(*run.context);
    return run;
}

TEST(SearchThreads, HelpersSearchBesideTheMainSearchAndCountTheirNodes) {
    for (int threads : {2, 4}) {
        ThreadsScope scope(threads);
        test::SearchRun run = Search(Middlegame, 9, threads);
        const SearchContext& c = *run.context;
        EXPECT_EQ(helperThreadCount(), threads - 1);
        EXPECT_TRUE(IsPlayable(c.rootPosition, run.best));
        EXPECT_EQ(run.best, c.rootLines[0].move) << "the main search's own line decides";
        // The figures handed out count every thread.
        EXPECT_GT(run.nodes, uint64_t(c.nodes));
        SearchReport report;
        fillSearchReport(c, 0, report);
        EXPECT_EQ(report.nodes, c.nodes + helperNodes());
        EXPECT_GE(report.nodes, report.qnodes);

        test::SearchRun mate = Search(MateInTwo, 6, threads);
        EXPECT_EQ(mate.score, MateValue - 3) << threads;
        EXPECT_EQ(test::MoveText(mate.best, mate.fen->position), "d5f6");
    }
}

TEST(SearchThreads, OneThreadSearchesAsBeforeAfterSearchesWithHelpers) {
    ThreadsScope scope(1);
    test::SearchRun before = Search(Middlegame, 8, 1);
    Search(Middlegame, 8, 4);
    EXPECT_EQ(helperThreadCount(), 3);
    test::SearchRun after = Search(Middlegame, 8, 1);
    EXPECT_EQ(helperThreadCount(), 0) << "the count takes effect at the next search";
    EXPECT_EQ(after.nodes, before.nodes);
    EXPECT_EQ(after.best, before.best);
    EXPECT_EQ(after.score, before.score);
}

// A stop reaches the helpers as fast as the main search: the root search returns promptly and
// leaves no helper searching.
TEST(SearchThreads, AStopEndsEveryThreadPromptly) {
    ThreadsScope scope(4);
    test::SearchSettings settings; // an analysis: only the stop ends it
    test::SearchRun run = test::PrepareSearch(Middlegame);
    searchInfo.searchThreads.store(4);
    ttClear();
    std::atomic<int64_t> returned{0};
    LargeStackThread search;
    ASSERT_TRUE(search.start([&] {
        rootSearch(*run.context, 60);
        returned.store(millisecondClock());
    }));
    std::this_thread::sleep_for(std::chrono::milliseconds(Sanitized ? 3000 : 300));
    int64_t stopped = millisecondClock();
    searchInfo.stopRequest.store(StopRequest::Abort);
    search.join();
    EXPECT_LT(returned.load() - stopped, Sanitized ? 5000 : 1000);
    EXPECT_GT(run.context->iterationDepth, 2);
    EXPECT_GT(helperNodes(), 0u);
    uint64_t helpersAfterStop = helperNodes();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(helperNodes(), helpersAfterStop) << "no helper searches on";
}

// Resident bytes of the process.
size_t ResidentBytes() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file) return 0;
    unsigned long long pages = 0, resident = 0;
    int read = std::fscanf(file, "%llu %llu", &pages, &resident);
    std::fclose(file);
    return read == 2 ? size_t(resident) * 4096 : 0;
}

// Each helper's own tables (mostly its histories, as large as the main search's) are small
// beside the table, and the helpers share the one table rather than copy it: three helpers add
// far less than one more table of 48 MB.
TEST(SearchThreads, HelpersAddLittleMemoryAndShareTheTable) {
    EXPECT_LT(helperThreadBytes(), size_t(8) << 20);
    std::printf("bytes per helper thread: %zu\n", helperThreadBytes());
    ThreadsScope scope(4);
    ttResize(22);
    Search(Middlegame, 7, 1); // the clear inside makes every page of the table resident
    size_t before = ResidentBytes();
    Search(Middlegame, 7, 4);
    size_t after = ResidentBytes();
    EXPECT_EQ(helperThreadCount(), 3);
    if (!Sanitized) EXPECT_LT(after - before, size_t(40) << 20) << before << " " << after;
    ttResize(18);
}

} // namespace
} // namespace corvid
