#include "gui/logic/game_snapshot.h"

#include "chess/fen.h"
#include "chess/game_record.h"
#include "chess/pgn.h"

#include <algorithm>
#include <cstring>

namespace corvid {

GameSnapshot::GameSnapshot() { std::memset(board, Empty, sizeof board); }

GameSnapshot takeGameSnapshot() {
    GameSnapshot s;
    const Position& p = gamePosition;
    std::memcpy(s.board, p.board, sizeof s.board);
    s.sideToMove = p.sideToMove;
    s.ply = p.ply;
    s.startPly = GameStart.ply;
    s.inCheck = p.checkers != 0;
    s.moveCount = std::clamp(gameRecord.moveCount, 0, MaxGamePly);
    s.moveTexts.reserve(size_t(s.moveCount));
    for (int i = 0; i < s.moveCount; ++i)
        s.moveTexts.emplace_back(i < s.startPly ? "" : gameRecord.Entry(i));
    char fen[128];
    PositionToFen(fen, p);
    s.fen = fen;
    PositionToFen(fen, GameStart);
    s.startFen = fen;
    s.standardStart = IsStandardStartPosition(GameStart);
    return s;
}

} // namespace corvid
