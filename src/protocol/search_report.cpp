#include "protocol/search_report.h"

#include "chess/coordinate_notation.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/move_notation.h"
#include "protocol/engine_output.h"
#include "search/root_search.h"
#include "search/transposition_table.h"
#include "startup/clock.h"
#include "startup/search_info.h"
#include "startup/ui_reporter.h"

#include <cinttypes>
#include <cstdlib>
#include <cstring>

namespace corvid {

namespace {

char ponderText[16]; // search thread only

// A move from a stored line is played only when it is legal where it is played.
bool playable(const Position& p, Move move) {
    return move != NoMove && !IsMarker(move) && IsPseudoLegal(p, move, p.sideToMove, false);
}

int moveText(char* buffer, Move move, const Position& p, bool san) {
    if (!san) return FormatCoordinate(buffer, move, p, searchInfo.chess960.load());
    int length = FormatMove(buffer, move, p, SanForm);
    while (length > 0 && buffer[length - 1] == ' ') buffer[--length] = '\0';
    return length;
}

// The move of the first table entry with the position's key (no cut-off asked for, so the
// probe changes nothing).
Move tableMove(const Position& p) {
    TTProbe probe;
    constexpr int NeverEnoughDepth = 1 << 20;
    ttProbe(p.key, -MateValue, MateValue, NeverEnoughDepth, 0, 0, probe);
    return probe.found ? probe.move : NoMove;
}

} // namespace

std::string uciScoreText(int score, int depthPlies, int gamePly) {
    if (std::abs(score) <= 2 && gamePly > 80) score = 0;
    const char* kind = "cp";
    int value = score;
    if (std::abs(score) > MateThreshold) {
        kind = "mate";
        value = (MateValue + 1 - std::abs(score)) / 2;
        if (score <= 0) value = -value;
    }
    if (value == 0 && depthPlies == 0) value = 1;
    char text[32];
    std::snprintf(text, sizeof text, "%s %d", kind, value);
    return text;
}

std::string principalVariationText(const SearchContext& context, const RootLine& line, int bound,
                                   bool san) {
    std::string text;
    Position p = context.rootPosition;
    int count = bound == ExactBound ? std::min(line.pvLength, MaxPv) : std::min(line.pvLength, 1);
    for (int i = 0; i < count; ++i) {
        Move move = line.pv[i];
        if (!playable(p, move)) break;
        char buffer[MoveTextBufferSize];
        moveText(buffer, move, p, san);
        text += buffer;
        text += ' ';
        MakeMoveWithCheck(p, move);
    }
    return text;
}

void reportSearchLine(const SearchContext& context, int bound) {
    if (!inProtocolMode() || !searchInfo.postThinking.load()) return;
    const RootLine& line = context.rootLines[context.pvIndex];
    int64_t elapsed = (millisecondClock() - context.searchStart) / 10; // centiseconds
    if (elapsed < 0) elapsed = 0;
    uint64_t nodes = context.nodes;
    int depth = context.iterationDepth / 2;
    if (inUciMode()) {
        uint64_t nps = elapsed > 0 ? nodes * 100 / uint64_t(elapsed) : 0;
        const char* boundText = bound == LowerBound   ? "lowerbound "
                                : bound == UpperBound ? "upperbound "
                                                      : "";
        std::string score = uciScoreText(line.score, depth, context.rootPosition.ply);
        std::string pv = principalVariationText(context, line, bound, false);
        writeOutput("info depth %d seldepth %d score %s %stime %" PRId64 " nodes %" PRIu64
                    " nps %" PRIu64 " pv %s\n",
                    depth, context.selDepth, score.c_str(), boundText, elapsed * 10, nodes, nps,
                    pv.c_str());
        return;
    }
    int score = line.score;
    if (context.rootSide == Black && !searchInfo.evalsFromWhitePov.load()) score = -score;
    std::string pv;
    if (searchInfo.ponderState.load() == PonderState::Pondering && ponderText[0]) {
        pv += "{ ";
        pv += ponderText; // SAN, with its own trailing blank
        pv += "} ";
    }
    pv += principalVariationText(context, line, bound, true);
    if (bound == LowerBound) pv += "[++] ";
    if (bound == UpperBound) pv += "[--] ";
    writeOutput("%d %d %" PRId64 " %" PRIu64 " %s\n", depth, score, elapsed, nodes, pv.c_str());
}

Move expectedReply(const Position& after, Move ourMove, const SearchContext& context) {
    Move reply = tableMove(after);
    if (playable(after, reply)) return reply;
    const RootLine& line = context.rootLines[0];
    if (line.pvLength > 1 && line.pv[0] == ourMove && playable(after, line.pv[1]))
        return line.pv[1];
    return NoMove;
}

void sendBestMove(const Position& position, Move move, const SearchContext& context) {
    if (!playable(position, move)) {
        writeOutput("bestmove (none)\n");
        debugLog("bestmove (none)\n");
        return;
    }
    char best[16], ponder[24] = "";
    FormatCoordinate(best, move, position, searchInfo.chess960.load());
    Position after = position;
    MakeMoveWithCheck(after, move);
    Move reply = expectedReply(after, move, context);
    if (reply != NoMove) {
        char replyText[16];
        FormatCoordinate(replyText, reply, after, searchInfo.chess960.load());
        std::snprintf(ponder, sizeof ponder, "ponder %s", replyText);
    }
    writeOutput("bestmove %s %s\n", best, ponder);
    debugLog("bestmove %s %s\n", best, ponder);
}

void sendWinBoardMove(const Position& positionBefore, Move move) {
    char text[16];
    FormatCoordinate(text, move, positionBefore, searchInfo.chess960.load());
    writeOutput("move %s\n", text);
    debugLog("wbSendMove %s\n", text);
}

void setPonderMoveText(const char* text) {
    std::snprintf(ponderText, sizeof ponderText, "%s", text ? text : "");
}

} // namespace corvid
