#include "startup/developer_commands.h"

#include "chess/coordinate_notation.h"
#include "chess/fen.h"
#include "chess/perft.h"
#include "eval/search_personality.h"
#include "platform/clock.h"
#include "search/bench.h"
#include "search/transposition_table.h"
#include "startup/engine_init.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace corvid {

namespace {

// What the program does and the commands it knows, named after the program as started.
void printHelp(std::FILE* out, const char* program) {
    const char* slash = std::strrchr(program, '/');
    const char* name = slash ? slash + 1 : program;
    std::fprintf(out,
                 "Corvid 1.5: a chess engine for chess front ends, and a desktop chess program.\n"
                 "\n"
                 "Started without arguments, %s reads its first input line: \"uci\" selects the\n"
                 "UCI protocol, any other line the xboard/WinBoard protocol (version 2). Front\n"
                 "ends start it this way. With no input (started from a desktop) it opens its\n"
                 "window.\n"
                 "\n"
                 "Developer commands:\n"
                 "  %s perft DEPTH [FEN]\n"
                 "      leaf counts per root move, the total and the speed\n"
                 "  %s bench [DEPTH]\n"
                 "      about 40 fixed positions searched to DEPTH (default 8); the node total is\n"
                 "      the search's signature\n"
                 "  %s --help\n"
                 "      this text\n"
                 "\n"
                 "Data files (bitbases/*.ebb, openingBook/TestBook.obk and\n"
                 "openingBook/testStartPositions.txt) are looked up in the working folder, then\n"
                 "next to the program, then in ../share/corvid beside the program's folder.\n",
                 name, name, name, name);
}

// A command line the program does not know: the help on standard error, status 2.
int usage(char** argv) {
    printHelp(stderr, argv[0]);
    return 2;
}

constexpr int BenchHashSizeCode = 22; // the default table of 48 MB

// Searches the bench positions to a fixed depth; the node total is the search's signature.
int benchCommand(int argc, char** argv) {
    int depth = argc > 2 ? std::atoi(argv[2]) : DefaultBenchDepth;
    if (depth < 1 || depth > 64) return usage(argv);
    // The tables and the hash table, without the search thread and the book.
    initEngineTables();
    ttResize(BenchHashSizeCode);
    activePersonality = SearchPersonality{};
    BenchResult result = runBench(depth, stdout);
    if (result.positions == 0) return 1;
    uint64_t nps =
        result.milliseconds > 0 ? result.nodes * 1000 / uint64_t(result.milliseconds) : 0;
    std::printf("Bench: %llu nodes %llu nps\n", (unsigned long long)result.nodes,
                (unsigned long long)nps);
    return 0;
}

int perftCommand(int argc, char** argv) {
    if (argc < 3) return usage(argv);
    int depth = std::atoi(argv[2]);
    if (depth < 1 || depth > 12) return usage(argv);
    std::string fen = StartFen;
    if (argc > 3) {
        fen.clear();
        for (int i = 3; i < argc; ++i) {
            if (i > 3) fen += ' ';
            fen += argv[i];
        }
    }
    initEngineTables();
    static CastleInfo castleInfo;
    Position position;
    const char* error = nullptr;
    if (!SetPositionFromFen(position, fen.c_str(), &castleInfo, &error)) {
        std::fprintf(stderr, "%s\n", error);
        return 1;
    }
    int64_t start = millisecondClock();
    PerftDivide divide = PerftByMove(position, depth);
    int64_t elapsed = millisecondClock() - start;
    // Castling is written king-to-rook when the rooks or the king stand off their usual files.
    bool chess960 = false;
    for (int i = 0; i < 4; ++i) {
        int rook = castleInfo.rookSquare[i];
        if ((position.castleRights & (1 << i)) &&
            ((FileOf(rook) != 0 && FileOf(rook) != 7) || FileOf(position.kingSquare[i / 2]) != 4))
            chess960 = true;
    }
    for (int i = 0; i < divide.count; ++i) {
        char text[8];
        FormatCoordinate(text, divide.moves[i], position, chess960);
        std::printf("%s: %llu\n", text, (unsigned long long)divide.nodes[i]);
    }
    std::printf("\nNodes searched: %llu\n", (unsigned long long)divide.total);
    double seconds = double(elapsed) / 1000.0;
    std::printf("Time: %.3f s\n", seconds);
    if (elapsed > 0) std::printf("Leaves per second: %.0f\n", double(divide.total) / seconds);
    return 0;
}

} // namespace

int runDeveloperCommand(int argc, char** argv) {
    if (std::strcmp(argv[1], "perft") == 0) return perftCommand(argc, argv);
    if (std::strcmp(argv[1], "bench") == 0) return benchCommand(argc, argv);
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printHelp(stdout, argv[0]);
        return 0;
    }
    return usage(argv);
}

} // namespace corvid
