#include "startup/protocol_game.h"

namespace corvid {

// Material and piece-square sums until the evaluation lands.
int staticEvaluation(const Position& p) {
    int us = p.sideToMove;
    int pst = (p.pstMg + p.pstEg) / 2;
    return p.material[us] - p.material[us ^ 1] + (us == White ? pst : -pst);
}

// Until the game record's PGN writer lands there is nothing to log.
void logProtocolGame(int /*result*/) {}

// Until the book lands there is nothing to learn into.
void learnFromLostGame() {}

} // namespace corvid
