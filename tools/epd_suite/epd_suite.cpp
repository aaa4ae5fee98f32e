// The share of a test suite's positions (EPD lines with "bm", e.g. the Bratko-Kopec set) that
// the engine solves at a fixed time per move, driven through UCI as a front end would.
// Usage: epd_suite EPD-FILE [milliseconds per move (default 10000)] [program]
#include "chess/coordinate_notation.h"
#include "chess/fen.h"
#include "chess/move_gen.h"
#include "chess/move_notation.h"
#include "startup/engine_init.h"
#include "support/engine_process.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace corvid;

namespace {

std::string stripMarks(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '+' && c != '#' && c != '!' && c != '?' && c != ' ' && c != ';') out += c;
    return out;
}

// The coordinate texts of the legal moves whose SAN is among the best-move texts.
std::vector<std::string> bestMoves(const Position& p, const std::vector<std::string>& sans) {
    MoveList legal;
    GenerateLegalMoves(p, legal);
    std::vector<std::string> found;
    for (int i = 0; i < legal.count; ++i) {
        char san[MoveTextBufferSize], coordinate[MoveTextBufferSize];
        FormatMove(san, legal.moves[i], p, SanForm);
        for (const std::string& wanted : sans)
            if (stripMarks(san) == stripMarks(wanted)) {
                FormatCoordinate(coordinate, legal.moves[i], p, false);
                found.push_back(coordinate);
            }
    }
    return found;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: epd_suite EPD-FILE [ms per move] [program]\n");
        return 2;
    }
    int ms = argc > 2 ? std::atoi(argv[2]) : 10000;
    std::string program = argc > 3 ? argv[3] : CORVID_DEFAULT_PROGRAM;
    initEngineTables();
    std::ifstream in(argv[1]);
    test::EngineProcess engine(program);
    engine.send("uci");
    if (!engine.waitFor("uciok", 10000)) return 1;
    engine.send("setoption name OwnBook value false");
    engine.send("setoption name Hash value 64");
    int total = 0, solved = 0;
    std::string line;
    while (std::getline(in, line)) {
        size_t bm = line.find(" bm ");
        if (bm == std::string::npos) continue;
        std::istringstream fields(line.substr(0, bm));
        std::string board, side, castling, ep;
        fields >> board >> side >> castling >> ep;
        std::string fen = board + " " + side + " " + castling + " " + ep + " 0 1";
        std::string rest = line.substr(bm + 4);
        std::istringstream moves(rest.substr(0, rest.find(';')));
        std::vector<std::string> sans;
        for (std::string m; moves >> m;) sans.push_back(m);
        CastleInfo info;
        Position p;
        if (!SetPositionFromFen(p, fen.c_str(), &info, nullptr)) continue;
        std::vector<std::string> wanted = bestMoves(p, sans);
        engine.send("ucinewgame");
        engine.send("setoption name Clear Hash");
        engine.send("position fen " + fen);
        engine.send("go movetime " + std::to_string(ms));
        std::string reply;
        std::vector<std::string> seen;
        if (!engine.waitFor("bestmove", ms + 10000, &seen, &reply)) break;
        std::string played = reply.size() > 9 ? reply.substr(9, reply.find(' ', 9) - 9) : "";
        bool ok = false;
        for (const std::string& w : wanted) ok |= w == played;
        ++total;
        solved += ok;
        std::string id = line.find("id ") != std::string::npos ? line.substr(line.find("id ")) : "";
        std::string lastInfo;
        for (const std::string& s : seen)
            if (s.rfind("info", 0) == 0) lastInfo = s;
        std::printf("%-3s %-14s played %-6s wanted %-10s %s\n", ok ? "ok" : "--", id.c_str(),
                    played.c_str(), rest.substr(0, rest.find(';')).c_str(),
                    lastInfo.substr(0, 60).c_str());
        std::fflush(stdout);
    }
    engine.send("quit");
    std::printf("Solved %d of %d (%.0f%%) at %d ms per move\n", solved, total,
                total ? 100.0 * solved / total : 0.0, ms);
    return 0;
}
