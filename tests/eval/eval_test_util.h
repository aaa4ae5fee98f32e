// Position sources for the evaluation tests: colour flipping, a compact list of varied
// positions, real opening positions from the test data, and random playouts.
#pragma once

#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/move_text.h"
#include "chess/pgn.h"
#include "chess/zobrist.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace corvid::test {

// The colour-flipped twin of a FEN: board upside down, colours, side to move, castling rights
// and the en-passant square swapped.
inline std::string FlipFen(const std::string& fen) {
    std::istringstream in(fen);
    std::string board, side, castling = "-", ep = "-";
    in >> board >> side >> castling >> ep;
    std::vector<std::string> ranks;
    std::string rank;
    for (char c : board) {
        if (c == '/') {
            ranks.push_back(rank);
            rank.clear();
        } else {
            rank += char(std::isupper(c) ? std::tolower(c) : std::toupper(c));
        }
    }
    ranks.push_back(rank);
    std::string flipped;
    for (size_t i = ranks.size(); i-- > 0;) flipped += ranks[i] + (i ? "/" : "");
    std::string rights;
    for (char c : castling)
        if (std::isupper(c)) rights += char(std::tolower(c));
    std::string upper;
    for (char c : castling)
        if (std::islower(c)) upper += char(std::toupper(c));
    rights = castling == "-" ? "-" : upper + rights;
    if (ep != "-") ep[1] = ep[1] == '3' ? '6' : '3';
    return flipped + (side == "w" ? " b " : " w ") + rights + " " + ep;
}

inline std::string FenOf(const Position& p) {
    char buffer[128];
    PositionToFen(buffer, p);
    return buffer;
}

// Varied positions: openings, middlegames with castling rights, endgames, odd material.
inline const std::vector<std::string>& CompactFens() {
    static const std::vector<std::string> fens = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
        "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
        "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ -",
        "2rq1rk1/pp1bppbp/3p1np1/8/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - -",
        "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
        "1k1r4/pp1b1R2/3q2pp/4p3/2B5/4Q3/PPP2B2/2K5 b - -",
        "3r1k2/4npp1/1ppr3p/p6P/P2PPPP1/1NR5/5K2/2R5 w - -",
        "2q1rr1k/3bbnnp/p2p1pp1/2pPp3/PpP1P1P1/1P2BNNP/2BQ1PRK/7R b - -",
        "rnbqkb1r/p3pppp/1p6/2ppP3/3N4/2P5/PPP1QPPP/R1B1KB1R w KQkq -",
        "r1b2rk1/2q1b1pp/p2ppn2/1p6/3QP3/1BN1B3/PPP3PP/R4RK1 w - -",
        "2r3k1/pppR1pp1/4p3/4P1P1/5P2/1P4K1/P1P5/8 w - -",
        "8/8/p1p5/1p5p/1P5p/8/PPP2K1p/4R1rk w - -",
        "8/3k4/8/8/8/4B3/4KB2/2B5 w - -",
        "8/8/1P6/5pr1/8/4R3/7k/2K5 w - -",
        "6k1/5ppp/8/8/8/2b5/5PPP/3R2K1 w - -",
        "6k1/5p2/4b3/8/8/8/3B1PPP/6K1 b - -",
        "r5k1/5ppp/8/8/8/8/5PPP/1N1N2K1 w - -",
        "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - -",
        "4k3/8/8/3Pp3/8/8/8/4K3 w - e6",
        "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -",
        "r3k3/1P6/8/8/8/8/8/4K2R w Kq -",
        "6k1/1R6/8/8/8/8/1r4PP/6K1 w - -",
        "5rk1/5ppp/4p3/8/8/4P3/5PPP/2RR2K1 w - -",
        "2kr3r/ppp2ppp/2n5/2b1p3/4P1n1/2NP1N2/PPP2PPP/R1B1KB1R w KQ -",
        "r2qr1k1/1ppb1pbp/p1np1np1/4p3/2P1P3/2NPBNP1/PP3PBP/R2Q1RK1 w - -",
        "8/5pk1/6p1/1p5p/1P5P/3Q2P1/5PK1/2q5 w - -",
        "8/2k5/3p4/p2P1p2/P2P1P2/8/8/4K3 w - -",
        "Nn4k1/p4ppp/8/8/8/8/5PPP/6K1 w - -",
        "6k1/B4ppp/1p6/8/8/8/5PPP/6K1 w - -",
    };
    return fens;
}

// Up to `limit` opening positions from the engine-match openings of the test data (every
// `stride`-th line).
inline std::vector<std::string> OpeningFens(size_t limit, size_t stride) {
    std::vector<std::string> fens;
    std::string path = TestDataPath("epd/openings_sample.epd");
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::string line;
    for (size_t n = 0; std::getline(in, line) && fens.size() < limit; ++n) {
        if (n % stride) continue;
        std::istringstream fields(line);
        std::string board, side, castling, ep;
        fields >> board >> side >> castling >> ep;
        fens.push_back(board + " " + side + " " + castling + " " + ep);
    }
    return fens;
}

// Every `stride`-th position of the first `maxGames` games of a PGN file of the test data.
inline std::vector<std::string> GameFens(const std::string& relative, int maxGames, int stride) {
    std::vector<std::string> fens;
    std::string path = TestDataPath(relative);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_NE(file, nullptr) << path;
    if (!file) return fens;
    auto record = std::make_unique<GameRecord>();
    PgnReader reader(file);
    PgnTags tags;
    std::string text;
    for (int game = 0; game < maxGames && reader.NextGame(tags, text); ++game) {
        FenPosition start(tags.fen[0] ? tags.fen : StartFen);
        Position p = start.position;
        record->moveCount = 0;
        ParseMoveList(*record, text, p);
        p = start.position;
        for (int ply = 0; ply < record->moveCount; ++ply) {
            if (!ParseAndPlayMove(record->entries[ply], p, false, *record)) break;
            if (ply % stride == 0) fens.push_back(FenOf(p));
        }
    }
    std::fclose(file);
    return fens;
}

// Positions along a random legal game from the FEN (deterministic for a given seed); the
// playout stops at mate, stalemate or after `plies` moves.
inline std::vector<std::string> RandomPlayout(const std::string& fen, int plies, uint64_t seed) {
    std::vector<std::string> out;
    FenPosition fp(fen.c_str());
    Position p = fp.position;
    KeyRandom random;
    random.a ^= seed;
    random.Skip(20);
    for (int ply = 0; ply < plies; ++ply) {
        MoveList list;
        GenerateLegalMoves(p, list);
        if (list.count == 0) break;
        Move move = list.moves[random.Next() % uint64_t(list.count)];
        MakeMoveWithCheck(p, move);
        out.push_back(FenOf(p));
    }
    return out;
}

} // namespace corvid::test
