// Square masks the evaluation reads: pawn spans, neighbours, diagonals and king regions.
// Built with the attack tables and read-only afterwards. Index [colour][square] where a mask
// depends on the side's direction ("ahead" is toward rank 8 for White, rank 1 for Black).
#pragma once

#include "chess/types.h"

namespace corvid {

// Same file, rows strictly ahead.
extern Bitboard ForwardFile[2][64];
// Same and adjacent files, rows strictly ahead.
extern Bitboard PassedPawnSpan[2][64];
// The passed-pawn span without the own file.
extern Bitboard AdjacentAhead[2][64];
// Adjacent files, the square's row and every row behind it.
extern Bitboard AdjacentLevelBehind[2][64];
// The two diagonal rays toward the side's promotion row, to the edge.
extern Bitboard ForwardDiagonals[2][64];
// One file left and right on the same row.
extern Bitboard SideNeighbours[64];
// Up to two files left and right on the same row.
extern Bitboard WideNeighbours[64];
// The 3x3 block around the square after moving its centre inward to files b..g and rows 1..6,
// so an edge square still gets nine squares.
extern Bitboard KingBlock[64];
// Files clamped to b..g, three files wide, the square's row and two rows ahead; only for
// squares on the side's own half (rows 4..7 for White), empty elsewhere.
extern Bitboard ShelterBlock[2][64];
// Files within 2, from three rows ahead to two rows behind, clipped at the edges.
extern Bitboard WideKingArea[2][64];
// Files within 3, from four rows ahead to three rows behind, clipped at the edges.
extern Bitboard WidestKingArea[2][64];

// The board flipped top to bottom (rows reversed).
constexpr Bitboard FlipRows(Bitboard b) { return __builtin_bswap64(b); }

// Fills the masks above; part of the attack-table pass (needs KingAttacks and FileMask).
void InitEvalMasks();

} // namespace corvid
