// Pawn structure, static and dynamic passed-pawn terms, and the filling of pawn cache entries.
#pragma once

#include "chess/position.h"
#include "eval/eval_detail.h"
#include "eval/pawn_cache.h"

namespace corvid {

// Computes the pawn-only entry of the position's pawn configuration from scratch.
void computePawnEntry(const Position& p, PawnCacheEntry& entry);

// The calling thread's cache entry for the position's pawns, filled when it held another
// configuration.
PawnCacheEntry& probePawnEntry(const Position& p);

// The pawn-structure term of `side` minus the other side's, interpolated with the game phase
// and weighted by the two pawn weights. Writes the entry it used and the White and Black
// totals.
int32_t pawnStructureTerm(int side, const Position& p, PawnCacheEntry*& entry, int32_t totals[2],
                          int phaseMaterial);

// The dynamic passed-pawn value of `side` in centipawns (king distances, blockers, free
// path), weighted and interpolated. Needs both sides' attack sets in `detail`.
int32_t passedPawnTerm(int side, const Position& p, const PawnCacheEntry& entry,
                       const EvalDetail& detail);

} // namespace corvid
