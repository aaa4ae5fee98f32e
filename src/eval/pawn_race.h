// Pawn races in pawn endings and the rook-pawn corner draw.
#pragma once

#include "chess/position.h"
#include "eval/pawn_cache.h"

namespace corvid {

enum class RaceResult { Unclear, WhiteWins, BlackWins };

// Which side's passed pawns promote first, judged from the kings and the passed pawns of the
// entry (the pawn race bitbase when loaded, the other king's distance otherwise). A winner
// whose opponent still has pieces counts as unclear.
RaceResult pawnRace(const Position& position, const PawnCacheEntry& entry);

// When all of side's pawns stand on the a-file (or all on the h-file): 2 when the defending
// king is within one square of the promotion corner, 1 when it is no farther from it than
// side's king, else 0; 0 too for other pawns or none. *lightCorner (when given) receives the
// colour of the corner square.
int rookPawnCorner(const Position& position, int side, bool* lightCorner = nullptr);

} // namespace corvid
