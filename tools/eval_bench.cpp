// Evaluation speed: evaluations per second over a fixed set of positions, with the pawn cache
// warm and with every pawn entry recomputed.
//
//   eval_bench [rounds] [epd-file]
//
// The positions are the openings of the EPD file (default: a built-in list) and the positions
// of a fixed random playout from each, so every run measures the same work.
#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/zobrist.h"
#include "eval/evaluate.h"
#include "eval/pawn_cache.h"
#include "startup/engine_init.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <time.h>
#include <vector>

using namespace corvid;

namespace {

const char* const BuiltInFens[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ -",
    "2rq1rk1/pp1bppbp/3p1np1/8/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - -",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
    "2q1rr1k/3bbnnp/p2p1pp1/2pPp3/PpP1P1P1/1P2BNNP/2BQ1PRK/7R b - -",
    "r1b2rk1/2q1b1pp/p2ppn2/1p6/3QP3/1BN1B3/PPP3PP/R4RK1 w - -",
    "2kr3r/ppp2ppp/2n5/2b1p3/4P1n1/2NP1N2/PPP2PPP/R1B1KB1R w KQ -",
    "r2qr1k1/1ppb1pbp/p1np1np1/4p3/2P1P3/2NPBNP1/PP3PBP/R2Q1RK1 w - -",
    "rnbqkb1r/p3pppp/1p6/2ppP3/3N4/2P5/PPP1QPPP/R1B1KB1R w KQkq -",
    "r1bqk2r/pp2bppp/2nppn2/8/3NP3/2N1B3/PPPQ1PPP/R3KB1R w KQkq -",
};

struct Sample {
    Position position;
    CastleInfo castleInfo;
};

void AddPlayout(std::vector<Sample>& samples, const std::string& fen, uint64_t seed) {
    Sample start;
    if (!SetPositionFromFen(start.position, fen.c_str(), &start.castleInfo)) return;
    KeyRandom random;
    random.a ^= seed;
    Position p = start.position;
    p.castleInfo = &start.castleInfo;
    size_t first = samples.size();
    for (int ply = 0; ply < 120; ++ply) {
        MoveList list;
        GenerateLegalMoves(p, list);
        if (list.count == 0) break;
        MakeMoveWithCheck(p, list.moves[random.Next() % uint64_t(list.count)]);
        samples.push_back({p, start.castleInfo});
    }
    for (size_t i = first; i < samples.size(); ++i)
        samples[i].position.castleInfo = &samples[i].castleInfo;
}

// Processor time of this thread, so that other load on the machine does not skew the figures.
double CpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Runs the rounds; returns evaluations per second and a checksum of the scores.
double Measure(const std::vector<Sample>& samples, int rounds, bool recomputePawns,
               long long& checksum) {
    checksum = 0;
    double start = CpuSeconds();
    for (int r = 0; r < rounds; ++r) {
        for (const Sample& s : samples) {
            if (recomputePawns) invalidatePawnCacheEntry(s.position.pawnKey);
            checksum += evaluatePosition(s.position, EvalWindowMin, EvalWindowMax);
        }
    }
    return double(samples.size()) * rounds / (CpuSeconds() - start);
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    initEngineTables();
    clearPawnCache();
    claimPawnCache();

    std::vector<std::string> fens(std::begin(BuiltInFens), std::end(BuiltInFens));
    if (argc > 2) {
        fens.clear();
        std::ifstream in(argv[2]);
        std::string line;
        while (std::getline(in, line) && fens.size() < 200) fens.push_back(line);
    }
    std::vector<Sample> samples;
    samples.reserve(fens.size() * 121);
    for (size_t i = 0; i < fens.size(); ++i) AddPlayout(samples, fens[i], 1 + i);

    long long warmSum = 0, coldSum = 0;
    Measure(samples, 1, false, warmSum); // fill the cache once
    double warm = Measure(samples, rounds, false, warmSum);
    double cold = Measure(samples, rounds, true, coldSum);
    std::printf("positions %zu, rounds %d\n", samples.size(), rounds);
    std::printf("with the pawn cache:    %10.0f evaluations/s\n", warm);
    std::printf("pawn entry recomputed:  %10.0f evaluations/s\n", cold);
    std::printf("checksums %lld %lld%s\n", warmSum, coldSum,
                warmSum == coldSum ? "" : "  (differ: cache fault)");
    return warmSum == coldSum ? 0 : 1;
}
