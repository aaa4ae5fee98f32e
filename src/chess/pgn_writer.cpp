#include "chess/pgn.h"

#include "chess/fen.h"
#include "platform/engine_reporter.h"

#include <cmath>
#include <cstring>
#include <ctime>

namespace corvid {

namespace {

template <size_t N> void CopyName(char (&field)[N], const char* text) {
    std::snprintf(field, N, "%s", text ? text : "");
}

// The standard start position compared field by field (a Chess960 game with the standard
// arrangement counts as standard too).
bool IsStandardStart(const Position& p) {
    Position standard;
    CastleInfo info;
    if (!SetPositionFromFen(standard, StartFen, &info)) return false;
    return std::memcmp(p.board, standard.board, sizeof p.board) == 0 &&
           p.sideToMove == standard.sideToMove && p.castleRights == standard.castleRights &&
           p.epSquare == standard.epSquare && p.ply == standard.ply &&
           p.lastIrreversiblePly == standard.lastIrreversiblePly;
}

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
    std::FILE* file = std::fopen(fileName, append ? "ab" : "wb");
    if (!file) {
        reporter().statusText("Cannot Open File.");
        return 0;
    }
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
    std::fprintf(file, "[Current Ply \"%d\"]\n", int(gamePosition.ply));
    std::fprintf(file, "[White \"%s\"]\n", info.white);
    std::fprintf(file, "[Black \"%s\"]\n", info.black);
    std::fprintf(file, "[Result \"%s\"]\n", ResultText(result));
    if (!IsStandardStart(GameStart)) {
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
    std::fprintf(file, "\n\n");
    bool written = std::ferror(file) == 0;
    if (std::fclose(file) != 0) written = false;
    return written ? 1 : 0;
}

} // namespace corvid
