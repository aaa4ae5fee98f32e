// When a game stops: the game-end test (mate, stalemate, repetition, fifty moves, insufficient
// material), the engine's resignation and draw-offer rules, and playing the engine's move.
#pragma once

#include "chess/position.h"
#include "search/search_context.h"

#include <atomic>
#include <cstdint>

namespace corvid {

enum class GameEnd { None, Checkmate, Stalemate, Repetition, FiftyMoves, InsufficientMaterial };

// The rule that ends the game in the position (keys[p] = the game's key at ply p, for the plies
// below position.ply): later rules in the order above override earlier ones.
GameEnd gameEndKind(const Position& position, const uint64_t* keys);
// The result code of an ended game (GameBlackWon, GameWhiteWon or GameDrawn), 0 while it runs.
int gameResultCode(const Position& position, GameEnd end);
// The message of each ending ("Check Mate!", "Draw by Repetition", ...).
const char* gameEndReason(GameEnd end);
// Earlier occurrences of the position since the last irreversible move (same side to move).
int earlierOccurrences(const Position& position, const uint64_t* keys);
// At least 100 half-moves without a capture or pawn move.
bool fiftyMoveRuleReached(const Position& position);

// The game-end test on the game: sets gameResult; gameOverNow is set on stalemate. With
// announce (desktop only) the reason is shown in a message box.
bool gameEndTest(bool announce, bool& gameOverNow);

// The WinBoard claim of a game that has ended ("1-0 {White Mates}", "1/2-1/2 {Draw by
// Repetition}", stalemate and insufficient material with their game-end reasons).
void claimProtocolResult();

// Resignation and draw state: per game (resignCount) and per process (the others).
struct DrawAndResignState {
    int32_t resignCount[2] = {0, 0};
    int32_t drawCount = 0;
    int32_t acceptCount = 0;
    std::atomic<int32_t> drawAcceptable{0}; // read by the command side ("draw")
};
extern DrawAndResignState drawAndResign;

// After the engine's move (score from the view of side, the side that moved). True when the
// engine resigned.
bool resignAndDrawRules(int score, int side);

// The UCI answer: the move with the reply the engine expects ("bestmove (none)" when the move
// cannot be played in the position).
void sendBestMove(const Position& position, Move move, const SearchContext& context);

// Makes the engine's move on the game (outside UCI), applies the resignation and draw rules and
// reports the move to the front end. Search thread.
void playEngineMove(Move move, const SearchContext& context, bool& gameOverNow);

} // namespace corvid
