// An independent check of a solved table: every state's value and distance are recomputed
// forward from its successors.
#pragma once

#include "retrograde.h"

#include <cstdint>
#include <string>

namespace corvid::bitbase_gen {

struct ConsistencyReport {
    int64_t states = 0; // legal states checked
    int64_t wins = 0, draws = 0, losses = 0;
    int64_t failures = 0; // states whose value or distance disagrees with their successors
    std::string firstFailure;
};

// The table must have been solved with its distances kept.
ConsistencyReport CheckConsistency(const Table& table, Registry& registry);

} // namespace corvid::bitbase_gen
