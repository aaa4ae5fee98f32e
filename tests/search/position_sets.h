// Position sets for the search's property tests: a committed list that is always there, the
// EPD files of the test data, and positions reached by random play-outs from both.
#pragma once

#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace corvid::test {

// Varied positions: openings and middlegames, checks and double checks, en passant (also as
// the evasion), promotions and under-promotions, pins, castling in standard and Chess960.
inline const char* const CompactFens[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5Q2/PPPP1PPP/RNB1K1NR w KQkq - 4 4",
    "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3",
    "4k3/8/8/8/1b6/8/3P4/4K3 w - - 0 1",
    "8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1",
    "8/8/8/8/k2Pp2Q/8/8/4K3 b - d3 0 1",
    "8/8/3k4/8/4pP2/8/8/3K1Q2 b - f3 0 1",
    "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1",
    "2r3k1/1P6/8/8/8/8/6p1/4K2R w K - 0 1",
    "8/P1k5/K7/8/8/8/8/8 w - - 0 1",
    "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
    "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1",
    "r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1",
    "4r1k1/8/8/8/8/8/8/R3K2R w KQ - 0 1",
    "3k4/8/8/8/8/8/3q4/R3K2R w KQ - 0 1",
    "4k3/4r3/8/8/8/8/3PPP2/3QKB2 w - - 0 1",
    "4k3/8/8/8/8/8/1B6/r3K2R w K - 0 1",
    "4k3/8/5n2/8/8/8/8/4K2R w K - 0 1",
    "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1",
    "6k1/5ppp/8/8/8/8/8/R3R1K1 w - - 0 1",
    "r1b1k2r/ppppnppp/2n2q2/2b5/3NP3/2P1B3/PP3PPP/RN1QKB1R w KQkq - 1 7",
    "2kr3r/ppp2ppp/2n5/2b1p3/4P1b1/2NP1N2/PPP2PPP/R1B1KB1R w KQ - 2 9",
    "4k3/8/8/8/8/8/4q3/4K3 w - - 0 1",
    "4k3/8/8/8/8/5n2/8/4K2r w - - 0 1",
    "4k3/8/8/8/1q6/8/3N4/4K3 w - - 0 1",
    "8/8/8/8/8/1k6/2q5/K7 w - - 0 1",
    "r3k3/1K6/8/8/8/8/8/8 w q - 0 1",
    "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9",
    "2nnrbkr/p1qppppp/8/1ppb4/6PP/3PP3/PPP2P2/BQNNRBKR w HEhe - 1 9",
    "4k3/8/8/8/8/8/8/qR3K2 w B - 0 1",
    "8/7p/8/8/8/8/8/k1KR4 w D - 0 1",
    "1k6/8/8/8/8/8/8/RK5R w HA - 0 1",
    "rk5r/8/8/8/8/8/8/RK5R b HAha - 0 1",
    "8/8/1k6/2b5/2pP4/8/5K2/8 b - d3 0 1",
    "3q4/2P5/8/8/8/8/8/k3K3 w - - 0 1",
    "4k3/1P6/8/8/8/8/6p1/4K2R b K - 0 1",
    "r1bqkb1r/pppp1Qpp/2n2n2/4p3/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 0 4",
    "6k1/5pp1/7p/8/8/8/5PPP/3R2K1 w - - 0 1",
    "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1",
    "k7/8/8/8/8/8/8/K4QR1 w - - 0 1",
};

// The FEN part of each line of an EPD file of the test data (every step-th line).
inline std::vector<std::string> EpdFens(const std::string& file, int step = 1) {
    std::vector<std::string> fens;
    std::string path = TestDataPath("epd/" + file);
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::string line;
    for (int index = 0; std::getline(in, line); ++index) {
        if (line.empty() || line[0] == '#' || index % step != 0) continue;
        // Board, side, castling, en passant: the first four fields.
        size_t end = 0;
        for (int field = 0; field < 4 && end != std::string::npos; ++field)
            end = line.find(' ', end ? end + 1 : 0);
        fens.push_back(line.substr(0, end));
    }
    return fens;
}

// A small deterministic generator for the play-outs.
struct TestRandom {
    uint64_t state;
    explicit TestRandom(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ULL + 1) {}
    uint64_t Next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    int Below(int n) { return int(Next() % uint64_t(n)); }
};

// Visits the position and then every position of a random play-out of up to plies moves
// (stopping at mate or stalemate). visit gets the position (the play-out's CastleInfo stays
// alive meanwhile).
template <typename Visit>
void RandomPlayout(const FenPosition& start, int plies, TestRandom& random, Visit visit) {
    FenPosition fp(start);
    Position& p = fp.position;
    for (int ply = 0;; ++ply) {
        visit(p);
        if (ply == plies) return;
        MoveList legal;
        legal.allPromotions = 1;
        GenerateLegalMoves(p, legal);
        if (legal.count == 0) return;
        MakeMoveWithCheck(p, legal.moves[random.Below(legal.count)]);
    }
}

} // namespace corvid::test
