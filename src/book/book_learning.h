// Book learning: after a lost game, the book positions the losing side's own moves led to are
// removed, back to the last point where it still had another book move.
#pragma once

#include "book/opening_book.h"
#include "chess/game_record.h"

namespace corvid {

// Game result codes as the game-end rules keep them.
constexpr int BlackWon = 1, WhiteWon = 2;

// Works on the game that starts at GameStart with the record's moves, currentPly plies long;
// result says who won (other results change nothing). Returns true when it stopped at a
// position where the loser still has a book move. Replaying rewrites the game's key history
// with the same keys, so it runs only while the search is idle.
bool BookLearn(OpeningBook& book, GameRecord& record, int currentPly, int result);

} // namespace corvid
