// The search's frames: the search thread's stack holds a line down to the ply limit.
#include "platform/thread.h"
#include "support/search_support.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <cstdlib>
#include <cstring>

namespace corvid {
namespace {

constexpr unsigned char Paint = 0xA5;

struct StackUse {
    size_t bytes = 0;
    int plies = 0;
};

// Runs a search on a thread whose stack is painted first, and measures how much of it the
// search touched.
StackUse measureSearch(const char* fen, int depth) {
    constexpr size_t Size = 8 << 20;
    void* memory = std::aligned_alloc(4096, Size);
    std::memset(memory, Paint, Size);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstack(&attributes, memory, Size);
    struct Job {
        const char* fen;
        int depth;
        int plies;
    } job{fen, depth, 0};
    pthread_t thread;
    auto body = [](void* argument) -> void* {
        Job* j = static_cast<Job*>(argument);
        test::SearchRun run = test::SearchFen(j->fen, j->depth);
        j->plies = run.context->selDepth;
        return nullptr;
    };
    StackUse use;
    if (pthread_create(&thread, &attributes, body, &job) == 0) {
        pthread_join(thread, nullptr);
        const unsigned char* low = static_cast<const unsigned char*>(memory);
        size_t untouched = 0;
        while (untouched < Size && low[untouched] == Paint) ++untouched;
        use.bytes = Size - untouched;
        use.plies = job.plies;
    }
    pthread_attr_destroy(&attributes);
    std::free(memory);
    return use;
}

TEST(SearchStack, ThreadStackHoldsTheDeepestLine) {
    StackUse use =
        measureSearch("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 6);
    ASSERT_GT(use.plies, 4);
    // Bytes per main-search ply, counting everything below (quiescence, the test's own frames)
    // against the main-search plies: an overestimate.
    size_t perPly = use.bytes / size_t(use.plies);
    size_t deepest = perPly * size_t(StackSize + 32);
    EXPECT_LT(deepest, SearchThreadStackBytes / 2)
        << use.bytes << " bytes for " << use.plies << " plies";
    RecordProperty("stackBytesPerPly", int(perPly));
}

} // namespace
} // namespace corvid
