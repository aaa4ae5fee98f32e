#include "gui/logic/play_pv.h"

#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "control/game.h"
#include "control/search_controller.h"
#include "gui/logic/game_from_pgn.h"

#include <algorithm>
#include <cstring>

namespace corvid {

namespace {

bool samePosition(const Position& a, const Position& b) {
    return a.key == b.key && a.sideToMove == b.sideToMove &&
           std::memcmp(a.board, b.board, sizeof a.board) == 0;
}

bool isLegal(const Position& p, Move move) {
    MoveList legal;
    GenerateLegalMoves(p, legal);
    for (int i = 0; i < legal.count; ++i)
        if ((legal.moves[i] & 0x0FFF) == (move & 0x0FFF)) return true;
    return false;
}

bool endsLine(Move move) { return move == NoMove || (move & MarkerBit); }

} // namespace

void rememberLine(LastLine& line, const SearchReport& report) {
    if (!report.root) return;
    const ReportedLine& best = report.lines[0];
    line.valid = best.length > 0;
    line.root = *report.root;
    line.castleInfo = report.root->castleInfo ? *report.root->castleInfo : CastleInfo{};
    line.root.castleInfo = nullptr;
    line.moves.assign(best.moves, best.moves + std::min<int>(best.length, ReportedLine::MaxMoves));
}

int playPrincipalVariation(WindowState& state, const LastLine& line) {
    if (!line.valid) return -1;
    stopSearch();
    // Where the game stands on the line: the moves before it are the line's past.
    CastleInfo castleInfo = line.castleInfo;
    Position p = line.root;
    p.castleInfo = &castleInfo;
    size_t next = 0;
    while (!samePosition(p, currentGamePosition())) {
        if (next >= line.moves.size() || endsLine(line.moves[next]) ||
            !isLegal(p, line.moves[next]))
            return -1;
        MakeMoveWithCheck(p, line.moves[next++]);
    }
    int played = 0;
    for (; next < line.moves.size() && !endsLine(line.moves[next]); ++next) {
        if (!playGameMove(line.moves[next])) break; // not legal in turn
        ++played;
    }
    if (played > 0) gameReplaced(state);
    return played;
}

} // namespace corvid
