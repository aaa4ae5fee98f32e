// Perft: leaf counts of the legal move tree, the check that generation and make-move agree.
#pragma once

#include "chess/position.h"

#include <cstdint>
#include <functional>

namespace corvid {

// Legal move sequences of the given length from the position (Perft(0) = 1). The position is
// the same afterwards.
uint64_t Perft(Position& position, int depth);

struct PerftDivide {
    int count = 0;
    Move moves[256];
    uint64_t nodes[256];
    uint64_t total = 0;
};
// Perft split by root move, in generation order.
PerftDivide PerftByMove(Position& position, int depth);

// Perft split by root move for a count that may be stopped: each root move's count goes to
// moveDone(move, leaves) as soon as it is finished; stopped() is asked every thousand or so
// leaves, and once it says true the count ends without the unfinished move. Returns false when
// it was stopped. The position is the same afterwards.
bool PerftByMoveUntil(Position& position, int depth, const std::function<bool()>& stopped,
                      const std::function<void(Move, uint64_t)>& moveDone);

} // namespace corvid
