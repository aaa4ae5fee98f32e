// The opening-book tool: builds a ".obk" book from PGN games (the build makes the default book
// with it) and lists the book moves of a position with their values.
//
//   book_tool build OUT.obk [--sides wdl] [--from N] [--to N] [--max-games N] [--min N] PGN...
//   book_tool list [--book FILE] [FEN]
#include "book/book_builder.h"
#include "book/book_file.h"
#include "book/book_moves.h"
#include "chess/coordinate_notation.h"
#include "chess/fen.h"
#include "chess/move_notation.h"
#include "platform/clock.h"
#include "platform/engine_reporter.h"
#include "startup/engine_init.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace corvid;

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: book_tool build OUT.obk [--sides wdl] [--from N] [--to N]"
                 " [--max-games N] [--min N] PGN...\n"
                 "       book_tool list [--book FILE] [FEN]\n"
                 "  --sides  whose moves count: w winning, d drawing, l losing (default wd)\n"
                 "  --from, --to  move numbers counted, 1-30 (default 1 and 10)\n"
                 "  --max-games  games read per file (default 50000)\n"
                 "  --min  times a position must occur to be kept (default 1)\n");
    return 2;
}

// Shows the book's messages (load and save counts, errors) on standard error.
struct ConsoleReporter : EngineReporter {
    bool quiet = false;
    void statusText(const char* text) override {
        // The game counter of the builder is progress, not news.
        if (!quiet && std::strspn(text, "0123456789") != std::strlen(text))
            std::fprintf(stderr, "%s\n", text);
    }
    void messageBox(const char* title, const char* text) override {
        std::fprintf(stderr, "%s: %s\n", title, text);
    }
};

bool readNumber(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high) return false;
    out = int(value);
    return true;
}

bool readSides(const char* text, int& sides) {
    sides = 0;
    for (const char* c = text; *c; ++c) {
        if (*c == 'w')
            sides |= BookFromWinning;
        else if (*c == 'd')
            sides |= BookFromDrawing;
        else if (*c == 'l')
            sides |= BookFromLosing;
        else
            return false;
    }
    return sides != 0;
}

int buildCommand(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string output = argv[2];
    BookBuildParameters parameters;
    std::vector<std::string> files;
    for (int i = 3; i < argc; ++i) {
        std::string option = argv[i];
        bool hasValue = i + 1 < argc;
        bool ok = true;
        if (option == "--sides" && hasValue)
            ok = readSides(argv[++i], parameters.sides);
        else if (option == "--from" && hasValue)
            ok = readNumber(argv[++i], 1, 30, parameters.fromMove);
        else if (option == "--to" && hasValue)
            ok = readNumber(argv[++i], 1, 30, parameters.upToMove);
        else if (option == "--max-games" && hasValue)
            ok = readNumber(argv[++i], 1, 1 << 30, parameters.maxGames);
        else if (option == "--min" && hasValue)
            ok = readNumber(argv[++i], 1, 30000, parameters.minOccurrences);
        else if (option.rfind("--", 0) == 0)
            ok = false;
        else
            files.push_back(option);
        if (!ok) return usage();
    }
    if (files.empty() || parameters.fromMove > parameters.upToMove) return usage();

    initEngineTables();
    ConsoleReporter reporter;
    setReporter(&reporter);
    int64_t started = millisecondClock();
    OpeningBook book;
    int games = 0;
    for (const std::string& file : files) {
        int counter = BuildBookFromPgn(book, file, parameters);
        if (counter == 0) {
            std::fprintf(stderr, "%s: cannot read\n", file.c_str());
            setReporter(nullptr);
            return 1;
        }
        games += counter - 1;
    }
    int counted = book.positions;
    reporter.quiet = true;
    int saved = BookSave(book, parameters.minOccurrences, output);
    setReporter(nullptr);
    if (saved < 0) {
        std::fprintf(stderr, "%s: cannot write\n", output.c_str());
        return 1;
    }
    std::printf("%d games, %d positions counted, %d positions seen at least %d times saved to "
                "%s (%lld ms)\n",
                games, counted, saved, parameters.minOccurrences, output.c_str(),
                (long long)(millisecondClock() - started));
    return 0;
}

int listCommand(int argc, char** argv) {
    std::string bookFile = DefaultBookPath;
    std::string fen;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--book") == 0 && i + 1 < argc) {
            bookFile = argv[++i];
            continue;
        }
        if (argv[i][0] == '-' && argv[i][1] == '-') return usage();
        if (!fen.empty()) fen += ' ';
        fen += argv[i];
    }
    if (fen.empty()) fen = StartFen;
    initEngineTables();
    static CastleInfo castleInfo;
    Position position;
    const char* error = nullptr;
    if (!SetPositionFromFen(position, fen.c_str(), &castleInfo, &error)) {
        std::fprintf(stderr, "%s\n", error ? error : "invalid FEN");
        return 1;
    }
    ConsoleReporter reporter;
    reporter.quiet = true;
    setReporter(&reporter);
    OpeningBook book;
    BookLoadResult loaded = BookLoad(book, bookFile);
    setReporter(nullptr);
    if (!loaded.opened) return 1;
    std::printf("%s: %d positions\n", bookFile.c_str(), book.positions);
    BookMoveList list;
    BookMoves(book, position, nullptr, list);
    for (int i = 0; i < list.count; ++i) {
        char san[MoveTextBufferSize], coordinate[8];
        int length = FormatMove(san, list.moves[i], position, SanForm);
        if (length > 0 && san[length - 1] == ' ') san[length - 1] = '\0';
        FormatCoordinate(coordinate, list.moves[i], position, false);
        int value = list.values[i];
        bool allowed = position.sideToMove == White ? value >= 0 : value <= 0;
        std::printf("%-6s %-8s %5d%s\n", coordinate, san, value, allowed ? "" : "  (not played)");
    }
    if (list.count == 0) std::printf("no book moves\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    if (std::strcmp(argv[1], "build") == 0) return buildCommand(argc, argv);
    if (std::strcmp(argv[1], "list") == 0) return listCommand(argc, argv);
    return usage();
}
