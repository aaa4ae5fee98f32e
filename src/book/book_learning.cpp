#include "book/book_learning.h"

#include "book/book_moves.h"

#include <algorithm>

namespace corvid {

// How far back from the end of a game learning looks.
constexpr int LearningHorizon = 60;

bool BookLearn(OpeningBook& book, GameRecord& record, int currentPly, int result) {
    if (result != BlackWon && result != WhiteWon) return false;
    const int winner = result == WhiteWon ? White : Black;
    Position position;
    for (int n = std::min(currentPly - 1, LearningHorizon); n >= 1; --n) {
        GoToPly(record, position, n);
        if (position.sideToMove == winner) {
            // Reached by the loser's move.
            BookRemovePosition(book, position, true);
        } else {
            BookMoveList moves;
            if (BookMoves(book, position, KeyHistory.keys, moves) > 0) return true;
        }
    }
    return false;
}

} // namespace corvid
