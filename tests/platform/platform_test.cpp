// The platform layer: events, the large-stack thread and the clock.
#include "platform/clock.h"
#include "platform/event.h"
#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace corvid {
namespace {

TEST(Event, ManualResetStaysSignalledUntilReset) {
    Event event(true);
    EXPECT_FALSE(event.wait(0));
    event.set();
    EXPECT_TRUE(event.wait(0));
    EXPECT_TRUE(event.wait(0));
    event.reset();
    EXPECT_FALSE(event.wait(10));
}

TEST(Event, AutoResetReleasesOneWait) {
    Event event(false);
    event.set();
    EXPECT_TRUE(event.wait(0));
    EXPECT_FALSE(event.wait(0));
}

TEST(Event, WaitTimesOutAndWakesOnSetFromAnotherThread) {
    Event event(false);
    int64_t start = millisecondClock();
    EXPECT_FALSE(event.wait(30));
    EXPECT_GE(millisecondClock() - start, 25);
    std::thread setter([&] { event.set(); });
    EXPECT_TRUE(event.wait(5000));
    setter.join();
}

// Recursion depth that needs several megabytes of stack.
int Recurse(int depth) {
    volatile char frame[4096];
    frame[0] = char(depth);
    return depth == 0 ? frame[0] : Recurse(depth - 1) + (frame[0] & 1);
}

TEST(LargeStackThread, RunsDeepRecursion) {
    std::atomic<int> result{-1};
    LargeStackThread thread;
    ASSERT_TRUE(thread.start([&] { result = Recurse(2500); })); // about 10 MB
    thread.join();
    EXPECT_GE(result.load(), 0);
}

} // namespace
} // namespace corvid
