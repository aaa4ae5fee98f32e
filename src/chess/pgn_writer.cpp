#include "chess/pgn.h"

#include "chess/fen.h"
#include "platform/engine_reporter.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <string>

namespace corvid {

namespace {

// A tag value with its quotes and backslashes escaped.
std::string TagValue(const char* text) {
    std::string value;
    for (const char* c = text; *c; ++c) {
        if (*c == '"' || *c == '\\') value += '\\';
        value += *c;
    }
    return value;
}

template <size_t N> void CopyName(char (&field)[N], const char* text) {
    std::snprintf(field, N, "%s", text ? text : "");
}

// Appending: the file so far ends with a blank line (unless it is empty), so the new game's
// tags never join the last line of the game before.
void EndWithBlankLine(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return;
    const long size = std::ftell(file);
    if (size <= 0) return;
    // The last two characters (a one-character file counts as after a line end).
    char tail[2] = {'\n', '\n'};
    const long n = size < 2 ? size : 2;
    if (std::fseek(file, -n, SEEK_END) != 0 ||
        std::fread(tail + 2 - n, 1, size_t(n), file) != size_t(n))
        tail[0] = tail[1] = ' ';
    std::fseek(file, 0, SEEK_END); // a read is followed by a seek before writing
    std::fputs(tail[1] != '\n' ? "\n\n" : tail[0] != '\n' ? "\n" : "", file);
}

} // namespace

bool IsStandardStartPosition(const Position& p) {
    Position standard;
    CastleInfo info;
    if (!SetPositionFromFen(standard, StartFen, &info)) return false;
    return std::memcmp(p.board, standard.board, sizeof p.board) == 0 &&
           p.sideToMove == standard.sideToMove && p.castleRights == standard.castleRights &&
           p.epSquare == standard.epSquare && p.ply == standard.ply &&
           p.lastIrreversiblePly == standard.lastIrreversiblePly;
}

namespace {

const char* ResultText(int result) {
    switch (result) {
    case 2:
        return "1-0";
    case 1:
        return "0-1";
    case 3:
        return "1/2-1/2";
    default:
        return "*";
    }
}

// "300+5.0" for a whole game with increment, "40/300" (or "40/300+5") for moves per period,
// "0.2/move" for a fixed time per move.
void TimeControlText(char* text, size_t size, const PgnGameInfo& info) {
    int seconds = int(info.baseMinutes * 60);
    if (info.secondsPerMove > 0)
        std::snprintf(text, size, "%g/move", info.secondsPerMove);
    else if (info.movesPerControl > 0 && info.incrementSeconds > 0)
        std::snprintf(text, size, "%d/%d+%g", info.movesPerControl, seconds, info.incrementSeconds);
    else if (info.movesPerControl > 0)
        std::snprintf(text, size, "%d/%d", info.movesPerControl, seconds);
    else
        std::snprintf(text, size, "%d+%.1f", seconds, info.incrementSeconds);
}

} // namespace

void SetPgnPlayerNames(PgnGameInfo& info, int humanSide, const char* userName,
                       const char* engineName) {
    bool engineWhite = humanSide == 1 || humanSide == 2;
    bool engineBlack = humanSide == 0 || humanSide == 2;
    CopyName(info.white, engineWhite ? engineName : userName);
    CopyName(info.black, engineBlack ? engineName : userName);
}

int SavePgn(const char* fileName, int result, bool append, const PgnGameInfo& info) {
    // "a+": every write goes to the end (never truncating), and the end can be read.
    std::FILE* file = std::fopen(fileName, append ? "a+b" : "wb");
    if (!file) {
        reporter().statusText("Cannot Open File.");
        return 0;
    }
    if (append) EndWithBlankLine(file);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::fprintf(file, "[Event \"Corvid Game\"]\n");
    std::fprintf(file, "[Date \"%d/%d/%d\"]\n", local.tm_mon + 1, local.tm_mday,
                 local.tm_year + 1900);
    std::fprintf(file, "[Time \"%.2d:%.2d:%.2d\"]\n", local.tm_hour, local.tm_min, local.tm_sec);
    char timeControl[64];
    TimeControlText(timeControl, sizeof timeControl, info);
    std::fprintf(file, "[TimeControl \"%s\"]\n", timeControl);
    // A tag name is one word: other PGN readers lose the game at "Current Ply".
    std::fprintf(file, "[CurrentPly \"%d\"]\n", int(gamePosition.ply));
    std::fprintf(file, "[White \"%s\"]\n", TagValue(info.white).c_str());
    std::fprintf(file, "[Black \"%s\"]\n", TagValue(info.black).c_str());
    std::fprintf(file, "[Result \"%s\"]\n", ResultText(result));
    if (!IsStandardStartPosition(GameStart)) {
        char fen[128];
        PositionToFen(fen, GameStart);
        std::fprintf(file, "[FEN \"%s\"]\n", fen);
        std::fprintf(file, "[SetUp \"1\"]\n");
    }
    std::fprintf(file, "\n");
    int count = std::min(gameRecord.moveCount, MaxGamePly);
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0) std::fprintf(file, "%d. ", i / 2 + 1);
        std::fprintf(file, "%.*s ", MoveTextSize, gameRecord.entries[i]);
        if (i % 2 == 1) std::fprintf(file, "\n");
    }
    // The result ends the move text, as every PGN reader expects.
    std::fprintf(file, "%s\n\n", ResultText(result));
    bool written = std::ferror(file) == 0;
    if (std::fclose(file) != 0) written = false;
    return written ? 1 : 0;
}

} // namespace corvid
