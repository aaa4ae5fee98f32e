// Throughput of the staged move picker over a fixed position set: positions and moves per
// second when every move is taken, when the node stops after the first move, and the plain
// legal-move generator for comparison. move_picker_bench [rounds]
#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "search/move_picker.h"
#include "startup/engine_init.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace corvid;

namespace {

const char* const StartFens[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1b1k2r/ppppnppp/2n2q2/2b5/3NP3/2P1B3/PP3PPP/RN1QKB1R w KQkq - 1 7",
    "2kr3r/ppp2ppp/2n5/2b1p3/4P1b1/2NP1N2/PPP2PPP/R1B1KB1R w KQ - 2 9",
    "6k1/5pp1/7p/8/8/8/5PPP/3R2K1 w - - 0 1",
    "8/8/1k6/2b5/2pP4/8/5K2/8 b - d3 0 1",
};

struct Xorshift {
    uint64_t s = 0x2545F4914F6CDD1DULL;
    uint64_t Next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
};

// The start positions and 30 plies of random play from each, 20 times over: about 6,000
// positions, the same on every run.
std::vector<Position> BenchPositions(CastleInfo* infos) {
    std::vector<Position> positions;
    Xorshift random;
    int index = 0;
    for (const char* fen : StartFens) {
        CastleInfo& info = infos[index++];
        Position start;
        if (!SetPositionFromFen(start, fen, &info)) continue;
        for (int game = 0; game < 20; ++game) {
            Position p = start;
            for (int ply = 0; ply < 30; ++ply) {
                positions.push_back(p);
                MoveList legal;
                GenerateLegalMoves(p, legal);
                if (legal.count == 0) break;
                MakeMoveWithCheck(p, legal.moves[random.Next() % uint64_t(legal.count)]);
            }
        }
    }
    return positions;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
    initEngineTables();
    static CastleInfo infos[sizeof StartFens / sizeof StartFens[0]];
    std::vector<Position> positions = BenchPositions(infos);
    auto history = std::make_unique<MoveHistory>();
    ClearHistory(*history);
    // Some learned state so that the refutation stage and the history keys have work.
    Xorshift random;
    for (auto& group : history->mainHistory)
        for (int16_t& h : group) h = int16_t(random.Next() % 4001) - 2000;
    std::vector<Move> ttMoves, killerMoves;
    for (const Position& p : positions) {
        MoveList legal;
        GenerateLegalMoves(p, legal);
        ttMoves.push_back(legal.count ? legal.moves[random.Next() % uint64_t(legal.count)] : 0);
        killerMoves.push_back(legal.count ? legal.moves[random.Next() % uint64_t(legal.count)] : 0);
    }

    uint64_t moves = 0, nodes = 0;
    auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < positions.size(); ++i) {
            Move killers[2] = {0, killerMoves[i]};
            MovePicker picker;
            InitMovePicker(picker, positions[i], *history, killers, ttMoves[i], 0, 0, 0);
            while (NextMove(picker)) ++moves;
            ++nodes;
        }
    double all = Seconds(start);

    uint64_t firstNodes = 0;
    start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < positions.size(); ++i) {
            Move killers[2] = {0, killerMoves[i]};
            MovePicker picker;
            InitMovePicker(picker, positions[i], *history, killers, 0, 0, 0, 0);
            firstNodes += NextMove(picker) != 0;
        }
    double first = Seconds(start);

    uint64_t legalMoves = 0;
    start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round)
        for (const Position& p : positions) {
            MoveList legal;
            GenerateLegalMoves(p, legal);
            legalMoves += uint64_t(legal.count);
        }
    double generated = Seconds(start);

    std::printf("positions: %zu, rounds: %d\n", positions.size(), rounds);
    std::printf("picker, every move:   %.2f M nodes/s, %.1f M moves/s\n", nodes / all / 1e6,
                moves / all / 1e6);
    std::printf("picker, first move:   %.2f M nodes/s (%llu with a move)\n",
                double(nodes) / first / 1e6, (unsigned long long)firstNodes);
    std::printf("legal move generator: %.2f M lists/s, %.1f M moves/s\n", nodes / generated / 1e6,
                legalMoves / generated / 1e6);
    return moves == legalMoves ? 0 : 1;
}
