// The game store until the game record lands: the moves as codes, replayed from the start.
#include "startup/game.h"

#include "chess/coordinate_notation.h"
#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "search/search_context.h"

#include <cstring>
#include <initializer_list>

namespace corvid {

namespace {

struct Game {
    Position position;
    CastleInfo castleInfo;
    Position start;
    Move moves[MaxGamePlies];
    int moveCount = 0;
    uint64_t keys[MaxGamePlies + 1];
};

Game* gameInstance = nullptr;

Game& theGame() {
    if (!gameInstance) {
        gameInstance = new Game;
        SetPositionFromFen(gameInstance->position, StartFen, &gameInstance->castleInfo);
        gameInstance->start = gameInstance->position;
        gameInstance->keys[gameInstance->position.ply] = gameInstance->position.key;
    }
    return *gameInstance;
}

void storeKey(Game& g) {
    if (g.position.ply <= MaxGamePlies) g.keys[g.position.ply] = g.position.key;
}

} // namespace

const Position& currentGamePosition() { return theGame().position; }
const Position& gameStartPosition() { return theGame().start; }
int gameMoveCount() { return theGame().moveCount; }
const uint64_t* gameKeyHistory() { return theGame().keys; }

void resetGame(const Position* start) {
    Game& g = theGame();
    if (start) {
        CastleInfo info = *start->castleInfo;
        g.castleInfo = info;
        g.position = *start;
    } else {
        SetPositionFromFen(g.position, StartFen, &g.castleInfo);
    }
    g.position.castleInfo = &g.castleInfo;
    g.start = g.position;
    g.moveCount = 0;
    std::memset(g.keys, 0, sizeof g.keys);
    storeKey(g);
}

bool playGameMove(Move move) {
    Game& g = theGame();
    if (g.moveCount >= MaxGamePlies - 1 || g.position.ply >= MaxGamePlies - 1) return false;
    if (move == NoMove || !IsPseudoLegal(g.position, move, g.position.sideToMove, false))
        return false;
    MakeMoveWithCheck(g.position, move);
    g.moves[g.moveCount++] = move;
    storeKey(g);
    return true;
}

Move gameMoveFromText(const char* text) {
    const Position& p = theGame().position;
    MoveList list;
    GenerateLegalMoves(p, list);
    size_t length = std::strlen(text);
    for (int i = 0; i < list.count; ++i) {
        for (bool chess960 : {false, true}) {
            char buffer[16];
            int n = FormatCoordinate(buffer, list.moves[i], p, chess960);
            if (size_t(n) == length && std::memcmp(buffer, text, length) == 0)
                return list.moves[i];
            // A promotion without its letter means a queen.
            if (n == 5 && length == 4 && buffer[4] == 'q' && std::memcmp(buffer, text, 4) == 0)
                return list.moves[i];
        }
    }
    return NoMove;
}

bool playGameMoveText(const char* text) { return playGameMove(gameMoveFromText(text)); }

void goToGamePly(int n) {
    Game& g = theGame();
    if (n < 0) n = 0;
    if (n > g.moveCount) n = g.moveCount;
    g.position = g.start;
    g.position.castleInfo = &g.castleInfo;
    storeKey(g);
    for (int i = 0; i < n; ++i) {
        MakeMoveWithCheck(g.position, g.moves[i]);
        storeKey(g);
    }
    g.moveCount = n;
}

} // namespace corvid
