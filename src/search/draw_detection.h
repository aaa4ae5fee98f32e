// Draws the search recognises: fifty moves, bare minor pieces, and repetitions of positions in
// the search's key history.
#pragma once

#include "search/search_context.h"

namespace corvid {

// True when the position (inside the search rooted at rootPly) is a draw: 100 half moves
// without capture or pawn move (unless it is mate), no pawns and at most one minor piece a
// side with the side to move not in check, or a repetition. A position repeated inside the
// search is a draw at once; one seen only before the root must have occurred twice.
bool isDraw(const SearchContext& context, const Position& position, int rootPly);

// Earlier occurrences of the position (same side to move) since the last irreversible move.
int repetitionCount(const SearchContext& context, const Position& position);

} // namespace corvid
