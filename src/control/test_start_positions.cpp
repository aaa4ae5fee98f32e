#include "control/test_start_positions.h"

#include "chess/fen.h"
#include "control/game_end.h"
#include "platform/data_files.h"
#include "search/search_context.h"

#include <cstdio>

namespace corvid {

namespace {

// No FEN comes near this; a longer line is not a position (a binary file, a wrong file).
constexpr size_t MaxLineLength = 4096;

// Reads one line without its line end (LF, CR LF or CR). A line longer than MaxLineLength is
// read to its end and marked tooLong. False at the end of the file.
bool readLine(std::FILE* file, std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    int c;
    bool any = false;
    while ((c = std::getc(file)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (c == '\r') {
            int next = std::getc(file);
            if (next != '\n' && next != EOF) std::ungetc(next, file);
            break;
        }
        if (line.size() < MaxLineLength)
            line += char(c);
        else
            tooLong = true;
    }
    return any;
}

bool blankOrComment(const std::string& line) {
    size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == '#';
}

} // namespace

bool setUpStartPosition(Position& position, CastleInfo& castleInfo, const std::string& line) {
    if (!SetPositionFromFen(position, line.c_str(), line.size(), &castleInfo)) return false;
    // A game that is over before it starts would end the match's think loop without a move.
    static const uint64_t noEarlierKeys[MaxGamePlies] = {};
    return gameEndKind(position, noEarlierKeys) == GameEnd::None;
}

TestStartPositions loadTestStartPositions(const std::string& path) {
    TestStartPositions loaded;
    std::FILE* file = openDataFile(path, "rb");
    if (!file) return loaded;
    std::string line;
    bool tooLong = false;
    while (int(loaded.fens.size()) < MaxStartPositions && readLine(file, line, tooLong)) {
        if (blankOrComment(line)) continue;
        Position position;
        CastleInfo castleInfo;
        if (!tooLong && setUpStartPosition(position, castleInfo, line))
            loaded.fens.push_back(line);
        else
            ++loaded.skipped;
    }
    std::fclose(file);
    return loaded;
}

} // namespace corvid
