// The piece-square table that positions sum incrementally, filled by initEvalTables.
#pragma once

#include "chess/score_pair.h"

namespace corvid {

// [piece code][square], White's point of view (black entries are stored negated).
// Rows for codes 6, 7, 14 and 15 stay zero. Per process: built once at engine start.
extern ScorePair pieceSquareTable[16][64];

} // namespace corvid
