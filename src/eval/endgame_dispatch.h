// Where the evaluation hands positions with little material to the endgame evaluators.
#pragma once

#include "chess/position.h"
#include "eval/eval_detail.h"

#include <cstdint>

namespace corvid {

// True when the position goes to a specialised endgame evaluator: neither side has pawns,
// neither side has pieces, or each side has at most one piece.
bool isSpecialEndgame(const Position& p);

// Scores a position for which isSpecialEndgame holds, for the side to move; returns false
// when no endgame evaluator takes it (the general terms then apply). An evaluator that writes
// the material balance stores it in *materialOut (when given).
bool evaluateSpecialEndgame(const Position& p, EvalDetail& detail, int32_t* materialOut,
                            int32_t& score);

} // namespace corvid
