// The evaluation's square tables for both colours, built once from the source grids.
#pragma once

#include "chess/score_pair.h"
#include "eval/eval_table_data.h"

#include <cstdint>

namespace corvid {

// A grid for both colours: [colour][square]. The White half is the source grid, the Black
// half the same grid mirrored top to bottom (not negated). Per process: built at engine start.
using ColourTable = int32_t[2][64];

// Pawn placement tables A..E (see evaldata::PawnPlacementGrid).
enum PawnPlacementTable {
    PlacementBothKingSide,
    PlacementOwnQueenSide,
    PlacementEnemyQueenSide,
    PlacementBothQueenSide,
    PlacementEndgame,
    PlacementTableCount
};

extern ColourTable PawnPlacement[PlacementTableCount];
extern ColourTable PassedPawnValue;
extern ColourTable CandidatePawnValue;
extern ColourTable OutpostValue;
extern ColourTable ShelterValue;
extern ColourTable StormValue;

// Middlegame and endgame bonus of the side to move.
constexpr ScorePair TempoBonus{14, 6};

// Fills pieceSquareTable and the colour tables above. Called once at engine start, after the
// attack tables and before any position is set up (positions sum pieceSquareTable).
void initEvalTables();

} // namespace corvid
