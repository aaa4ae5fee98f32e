// Mobility, minor-piece and rook terms, queen safety, threats and space.
#pragma once

#include "chess/position.h"
#include "eval/eval_detail.h"
#include "eval/pawn_cache.h"

namespace corvid {

// The piece-activity pair of `side` minus the other side's: mobility, piece placement,
// threats, space and king safety, with the king-safety and piece weights applied. Also stores
// both sides' terms in `detail`. Needs buildAttackInfo first.
ScorePair pieceActivityTerm(int side, const Position& p, PawnCacheEntry& entry, EvalDetail& detail);

// Threats of `side` against the other side's pawns and pieces.
ScorePair threatTerm(int side, const Position& p, const EvalDetail& detail);

} // namespace corvid
