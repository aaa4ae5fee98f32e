// The search's signature: a fixed set of positions searched to a fixed depth from a cleared
// table and cleared histories, with the node total as the result.
#pragma once

#include <cstdint>
#include <cstdio>

namespace corvid {

constexpr int DefaultBenchDepth = 8; // plies

struct BenchResult {
    uint64_t nodes = 0;
    int64_t milliseconds = 0;
    int positions = 0;
};

// Searches every bench position to depth plies, writing one line per position to out (when
// given). Runs on a thread with the search's stack size. With more than one thread the node
// total varies from run to run; the time is then the time to depth.
BenchResult runBench(int depth, std::FILE* out, int threads = 1);

} // namespace corvid
