// The training run of the profile-guided release build: the bench search, then a perft from the
// start position, on the instrumented engine library, which records where the search and the
// move generator spend their time. Prints only the totals.
#include "chess/fen.h"
#include "chess/perft.h"
#include "eval/search_personality.h"
#include "search/bench.h"
#include "search/transposition_table.h"
#include "startup/engine_init.h"

#include <cstdio>

int main() {
    using namespace corvid;
    initEngineTables();
    ttResize(DefaultHashSizeCode);
    activePersonality = SearchPersonality{};
    BenchResult result = runBench(DefaultBenchDepth, nullptr);
    static CastleInfo castleInfo;
    Position position;
    if (!SetPositionFromFen(position, StartFen, &castleInfo, nullptr)) return 1;
    uint64_t leaves = PerftByMove(position, 5).total;
    std::printf("Profile trained on %llu bench nodes and %llu perft leaves\n",
                (unsigned long long)result.nodes, (unsigned long long)leaves);
    return result.positions > 0 ? 0 : 1;
}
