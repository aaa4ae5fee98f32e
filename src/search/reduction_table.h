// The late-move tables: how many moves a shallow node searches before pruning quiet moves, and
// how far a late quiet move is reduced.
#pragma once

#include <cstdint>

namespace corvid {

constexpr int ReductionDepths = 256; // new depth in plies
constexpr int ReductionMoves = 128;  // moves searched so far

// [improving][min(depth / 2, 8)]
constexpr int LateMoveLimit[2][9] = {
    {2, 4, 7, 10, 14, 19, 26, 36, 46},
    {2, 5, 8, 12, 18, 25, 34, 46, 56},
};

// The limit for a node of the given depth (half plies; negative counts as 0).
inline int lateMoveLimit(bool improving, int depth) {
    int plies = depth / 2;
    if (plies < 0) plies = 0;
    if (plies > 8) plies = 8;
    return LateMoveLimit[improving ? 1 : 0][plies];
}

// [new depth in plies][moves searched], in plies. Per process: built by the first root search,
// read only afterwards.
extern uint8_t ReductionTable[ReductionDepths][ReductionMoves];

// Fills the table the first time it is called (every root search calls it; idempotent).
void buildReductionTable();

// The table value with both indices clamped into range.
inline int reductionFor(int depthPlies, int movesSearched) {
    if (depthPlies < 0) depthPlies = 0;
    if (depthPlies >= ReductionDepths) depthPlies = ReductionDepths - 1;
    if (movesSearched < 0) movesSearched = 0;
    if (movesSearched >= ReductionMoves) movesSearched = ReductionMoves - 1;
    return ReductionTable[depthPlies][movesSearched];
}

} // namespace corvid
