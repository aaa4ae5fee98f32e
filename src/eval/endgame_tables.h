// Square and distance tables of the endgame evaluators (White's view, a8 = 0).
#pragma once

#include <cstdint>

namespace corvid {

// clang-format off

// How far a bare king is from the centre: 0 in the middle, 8 in the corners.
constexpr int8_t BareKingEdge[64] = {
    8, 7, 6, 5, 5, 6, 7, 8,
    7, 5, 4, 3, 3, 4, 5, 7,
    6, 4, 2, 1, 1, 2, 4, 6,
    5, 3, 1, 0, 0, 1, 3, 5,
    5, 3, 1, 0, 0, 1, 3, 5,
    6, 4, 2, 1, 1, 2, 4, 6,
    7, 5, 4, 3, 3, 4, 5, 7,
    8, 7, 6, 5, 5, 6, 7, 8,
};

// Mating corners for bishop and knight with a light-squared bishop (a8 and h1); a dark-squared
// bishop reads the horizontally mirrored square.
constexpr int8_t BishopKnightCorner[64] = {
    72, 62, 52, 42, 32, 22, 12,  5,
    62, 50, 40, 28, 20, 10,  5, 12,
    52, 40, 26, 16, 10,  0, 10, 22,
    42, 28, 16,  0, -5, 10, 20, 32,
    32, 20, 10, -5,  0, 16, 28, 42,
    22, 10,  0, 10, 16, 26, 40, 52,
    12,  5, 10, 20, 28, 40, 50, 62,
     5, 12, 22, 32, 42, 52, 62, 72,
};

// -2 on the outer ring, -1 on the next, 0 in the central 16 squares.
constexpr int8_t EdgeCloseness[64] = {
    -2, -2, -2, -2, -2, -2, -2, -2,
    -2, -1, -1, -1, -1, -1, -1, -2,
    -2, -1,  0,  0,  0,  0, -1, -2,
    -2, -1,  0,  0,  0,  0, -1, -2,
    -2, -1,  0,  0,  0,  0, -1, -2,
    -2, -1,  0,  0,  0,  0, -1, -2,
    -2, -1, -1, -1, -1, -1, -1, -2,
    -2, -2, -2, -2, -2, -2, -2, -2,
};

// Pawn endings: a king's distance in files from the span of all pawns, and the outside passed
// pawn bonus by its distance from the enemy pawns.
constexpr int16_t KingSpanDistance[8] = {0, 10, 40, 80, 90, 100, 100, 100};
constexpr int16_t OutsidePassedBonus[9] = {0, 0, 25, 35, 50, 60, 60, 60, 60};

// clang-format on

} // namespace corvid
