// Transposition table speed: stores and probes per second on a table of the default size
// (48 MB) and on one that fits the processor cache (192 KB), with random keys, half of the
// probes for stored keys. tt_bench [millions]
#include "search/transposition_table.h"
#include "startup/engine_init.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace corvid;

namespace {

uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Stores count entries, then probes count keys; prints the rates for the current table.
void Run(uint64_t count) {
    ttClear();
    auto start = std::chrono::steady_clock::now();
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t key = Mix(i);
        int depth = int(key >> 60) * 2;
        ttStore(key, -50, 50, Move(key & 0x0FFF), int(key % 200) - 100, depth, 3, 1, int(key % 100),
                0);
    }
    double stored = Seconds(start);

    uint64_t hits = 0, found = 0;
    start = std::chrono::steady_clock::now();
    for (uint64_t i = 0; i < count; ++i) {
        // Even probes ask for keys stored above, odd ones for keys never stored.
        uint64_t key = Mix(i & 1 ? i + count : i);
        TTProbe probe;
        hits += ttProbe(key, -50, 50, 4, 3, 1, probe);
        found += probe.found;
    }
    double probed = Seconds(start);

    std::printf("table: %llu buckets (%llu KB), %llu operations each\n",
                (unsigned long long)transpositionTable.mask + 1,
                (unsigned long long)(transpositionTable.byteSize >> 10), (unsigned long long)count);
    std::printf("  store: %.1f M/s\n", count / stored / 1e6);
    std::printf("  probe: %.1f M/s (%.1f%% found, %.1f%% cut-offs)\n", count / probed / 1e6,
                100.0 * found / count, 100.0 * hits / count);
}

} // namespace

int main(int argc, char** argv) {
    uint64_t count = uint64_t(argc > 1 ? std::atoi(argv[1]) : 4) * 1000000;
    initEngineTables();
    ttResize(DefaultHashSizeCode);
    Run(count);
    // A table that stays in the processor cache: the cost of the code without memory stalls.
    ttAllocate(uint64_t{1} << 12);
    Run(count);
    return 0;
}
