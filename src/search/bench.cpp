#include "search/bench.h"

#include "eval/pawn_cache.h"

#include "chess/coordinate_notation.h"
#include "chess/fen.h"
#include "platform/clock.h"
#include "platform/thread.h"
#include "search/root_search.h"
#include "search/search.h"
#include "search/search_info.h"
#include "search/search_threads.h"
#include "search/transposition_table.h"

#include <memory>

namespace corvid {

namespace {

// Openings, sharp middlegames, a position in check, mates, and endings of every kind.
constexpr const char* BenchPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "rn2kb1r/pp3ppp/2p1pn2/3p3b/8/1P1P1NPP/PBPqPPB1/RN2K2R w KQkq - 0 9",
    "r3k1nr/ppqn1ppp/2p5/2b1p3/4P1b1/5NP1/PPPN1PBP/R1BQ1RK1 w kq - 3 9",
    "rn1qkb1r/pp2npp1/4p1bp/2ppP3/3P2PP/2P5/PP1NBP2/R1BQK1NR w KQkq - 0 9",
    "rnbqk2r/pp3ppp/3b1n2/4p3/2Pp1P2/6P1/PPN1P1BP/RNBQK2R w KQkq - 1 9",
    "r1bq1r1k/1pp2ppp/p1np1n2/2b1p3/4P3/1BPP1N2/PP1N1PPP/R1BQ1RK1 w - - 2 9",
    "r1bqk2r/1pp1bppp/p1p5/2n1N3/8/8/PPPP1PPP/RNBQR1K1 w kq - 1 9",
    "r1b1kb1r/ppq2ppp/2n1pn2/8/2BP4/5N2/PP1N1PPP/R1BQ1RK1 w kq - 4 9",
    "rnbq1rk1/1pp1bppp/p2p4/8/P1BNn3/2N5/1PP2PPP/R1BQ1RK1 w - - 0 9",
    "rnb1kb1r/pp3p1p/4pp2/2pp4/2PP4/2qBPN2/P2N1PPP/R2QK2R w KQkq - 1 9",
    "rnbq1rk1/1p1pp1bp/2p3p1/p4p2/1PPPn3/5NP1/PB2PPBP/RN1Q1RK1 w - - 0 9",
    "1k1r4/pp1b1R2/3q2pp/4p3/2B5/4Q3/PPP2B2/2K5 b - - 0 1",
    "3r1k2/4npp1/1ppr3p/p6P/P2PPPP1/1NR5/5K2/2R5 w - - 0 1",
    "2q1rr1k/3bbnnp/p2p1pp1/2pPp3/PpP1P1P1/1P2BNNP/2BQ1PRK/7R b - - 0 1",
    "rnbqkb1r/p3pppp/1p6/2ppP3/3N4/2P5/PPP1QPPP/R1B1KB1R w KQkq - 0 1",
    "r1b2rk1/2q1b1pp/p2ppn2/1p6/3QP3/1BN1B3/PPP3PP/R4RK1 w - - 0 1",
    "2r3k1/pppR1pp1/4p3/4P1P1/5P2/1P4K1/P1P5/8 w - - 0 1",
    "r1bqkb1r/4npp1/p1p4p/1p1pP1B1/8/1B6/PPPN1PPP/R2QK2R w KQkq - 0 1",
    "r2q1rk1/1ppnbppp/p2p1nb1/3Pp3/2P1P1P1/2N2N1P/PPB1QP2/R1B2RK1 b - - 0 1",
    "r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq - 0 1",
    "4rrk1/pp1n3p/3q2pQ/2p1pb2/2PP4/2P3N1/P2B2PP/4RRK1 b - - 0 1",
    "r3r1k1/ppqb1ppp/8/4p1NQ/8/2P5/PP3PPP/R3R1K1 b - - 0 1",
    "r1b1k2r/ppppnppp/2n2q2/2b5/3NP3/2P1B3/PP3PPP/RN1QKB1R w KQkq - 0 1",
    "rnbqk2r/ppp2ppp/3b4/3p4/3Pn3/2NB1N2/PPP2PPP/R1BQK2R b KQkq - 0 1",
    "r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5Q2/PPPP1PPP/RNB1K1NR w KQkq - 4 4",
    "r1b1kbnr/pppp1Npp/8/8/3nq3/8/PPPPBP1P/RNBQKR2 b Qkq - 0 7",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "r5k1/5ppp/8/8/8/8/1Q3PPP/6K1 w - - 0 1",
    "8/7p/2k1Pp2/pp1p2p1/3P2P1/4P3/P3K2P/8 w - - 0 1",
    "8/1p4kP/5pP1/3p4/8/4P3/7K/8 w - - 0 1",
    "8/8/8/pPk3pp/2P1p3/1pK3P1/5PP1/8 w - - 0 1",
    "6k1/3p4/3p4/3P4/4P1p1/6P1/8/K7 w - - 0 1",
    "8/4k1p1/1p2B2p/4p3/8/4P2P/1PP1KbP1/8 b - - 0 1",
    "5k2/8/4b3/1B5P/8/8/5pPP/5K2 b - - 0 1",
    "8/2p1bpp1/2Pp4/p2P1P1p/2K2B1P/k5P1/8/8 w - - 0 1",
    "6k1/6NR/7P/8/8/8/8/K7 w - - 0 1",
    "8/K7/8/8/5k2/4RPR1/8/8 w - - 0 1",
    "8/8/3k4/8/1r6/8/3PK3/4R3 w - - 0 1",
    "8/8/8/2k5/8/8/4K3/3Q4 w - - 0 1",
};
constexpr int BenchCount = int(sizeof BenchPositions / sizeof BenchPositions[0]);

BenchResult runAll(int depth, std::FILE* out) {
    BenchResult result;
    auto context = std::make_unique<SearchContext>();
    SearchState savedState = searchInfo.searchState.load();
    // Without a clock: every position goes to the full depth, so the count is exact.
    searchInfo.searchState.store(SearchState::Analyzing);
    int64_t searching = 0; // the searches alone, without clearing the table
    for (int i = 0; i < BenchCount; ++i) {
        CastleInfo castleInfo;
        Position position;
        if (!SetPositionFromFen(position, BenchPositions[i], &castleInfo, nullptr)) continue;
        ttClear();
        static const uint64_t noGameKeys[2] = {};
        setUpSearchContext(*context, position, noGameKeys);
        context->analysisLines = 1;
        int64_t start = millisecondClock();
        Move best = rootSearch(*context, depth);
        int64_t elapsed = millisecondClock() - start;
        searching += elapsed;
        uint64_t nodes = searchedNodes(*context);
        result.nodes += nodes;
        ++result.positions;
        if (out) {
            char text[16];
            FormatCoordinate(text, best, position, false);
            std::fprintf(out, "Position %2d/%d  %-6s score %6d  nodes %12llu  ms %7lld\n", i + 1,
                         BenchCount, best ? text : "(none)", context->rootLines[0].score,
                         (unsigned long long)nodes, (long long)elapsed);
        }
    }
    result.milliseconds = searching;
    searchInfo.searchState.store(savedState);
    return result;
}

} // namespace

BenchResult runBench(int depth, std::FILE* out, int threads) {
    BenchResult result;
    int savedThreads = searchInfo.searchThreads.exchange(threads);
    LargeStackThread thread;
    if (thread.start([&] {
            // Like the search thread, the bench thread evaluates with the big pawn cache.
            bool claimed = claimPawnCache();
            result = runAll(depth, out);
            endHelperThreads();
            if (claimed) releasePawnCache();
        }))
        thread.join();
    searchInfo.searchThreads.store(savedThreads);
    return result;
}

} // namespace corvid
