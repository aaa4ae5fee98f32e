// The static evaluation: a score in centipawns for the side to move, a multiple of 4.
#pragma once

#include "chess/position.h"
#include "eval/eval_detail.h"

#include <cstdint>

namespace corvid {

// Static scores stay well inside the mate range (mates score 9800 and more), so no static
// score is ever taken for a mate.
constexpr int32_t StaticScoreLimit = 8000;

// The full window: no lazy exit.
constexpr int32_t EvalWindowMin = -30000, EvalWindowMax = 30000;

// Evaluates the position for the side to move. alpha and beta are the caller's window, used
// only for the two lazy exits. lazyFlag (optional) is set when the detailed terms were skipped
// because the score fell outside the window. detail (optional) receives the intermediate
// results; without one, a per-thread scratch record is used. materialOut (optional) receives
// the material balance of the side to move.
int32_t evaluatePosition(const Position& p, int32_t alpha, int32_t beta, bool* lazyFlag = nullptr,
                         EvalDetail* detail = nullptr, int32_t* materialOut = nullptr);

// The material term for `side`: the material difference with the imbalance corrections.
int32_t materialBalance(int side, const Position& p);

// The game phase: half the non-pawn material of both sides (3348 at the start).
int32_t phaseMaterial(const Position& p);

} // namespace corvid
