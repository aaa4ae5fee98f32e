// Perft: leaf counts of the legal move tree, the check that generation and make-move agree.
#pragma once

#include "chess/position.h"

#include <cstdint>

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

} // namespace corvid
