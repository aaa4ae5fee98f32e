#include "control/test_start_positions.h"

#include "chess/fen.h"
#include "control/game_end.h"
#include "platform/data_files.h"
#include "platform/text_line.h"
#include "search/search_context.h"

#include <cstdio>

namespace corvid {

namespace {

// No FEN comes near this; a longer line is not a position (a binary file, a wrong file).
constexpr size_t MaxLineLength = 4096;

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
    while (int(loaded.fens.size()) < MaxStartPositions &&
           readTextLine(file, line, MaxLineLength, tooLong)) {
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
