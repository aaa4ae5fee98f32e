#include "chess/make_move.h"

namespace corvid {

// Placeholder until the transposition table lands: nothing to fetch.
void PrefetchBucket(const TranspositionTable*, uint64_t) {}

} // namespace corvid
