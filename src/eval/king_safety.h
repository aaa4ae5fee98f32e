// King shelter, king attack and king activity.
#pragma once

#include "chess/position.h"
#include "eval/eval_detail.h"
#include "eval/pawn_cache.h"

namespace corvid {

// The pawn shelter of the side's king, cached in the entry's king-shelter slot.
int32_t kingShelter(int side, const Position& p, PawnCacheEntry& entry);

// The safety of the side's king against the other side's attack (one number, both halves).
// Needs both sides' attack information, mobility sums included.
int32_t kingSafety(int side, const Position& p, PawnCacheEntry& entry, const EvalDetail& detail);

// The king's freedom and closeness to the pawns, for positions with few attackers.
int32_t kingActivity(int side, const Position& p, const EvalDetail& detail);

} // namespace corvid
