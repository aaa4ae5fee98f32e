// Positions with pawns in which each side has at most one piece (and some side has one).
#pragma once

#include "chess/position.h"
#include "eval/eval_detail.h"

#include <cstdint>

namespace corvid {

// The score for `side` (the side to move). Builds both sides' attack information in `detail`
// and writes the material balance of `side` to *materialOut when given.
int32_t fewPiecesEval(const Position& position, int side, EvalDetail& detail, int32_t* materialOut);

} // namespace corvid
