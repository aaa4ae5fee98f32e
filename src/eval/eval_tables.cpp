#include "eval/eval_tables.h"

#include "chess/piece_square_table.h"
#include "chess/types.h"

namespace corvid {

ColourTable PawnPlacement[PlacementTableCount];
ColourTable PassedPawnValue;
ColourTable CandidatePawnValue;
ColourTable OutpostValue;
ColourTable ShelterValue;
ColourTable StormValue;

namespace {

void FillColourTable(ColourTable& table, const int16_t (&grid)[64]) {
    for (int s = 0; s < 64; ++s) {
        table[White][s] = grid[s];
        table[Black][s] = grid[MirrorSquare(s)];
    }
}

} // namespace

void initEvalTables() {
    for (int type = Pawn; type <= King; ++type) {
        for (int s = 0; s < 64; ++s) {
            ScorePair white{evaldata::PieceGridMg[type][s], evaldata::PieceGridEg[type][s]};
            ScorePair mirrored{evaldata::PieceGridMg[type][MirrorSquare(s)],
                               evaldata::PieceGridEg[type][MirrorSquare(s)]};
            pieceSquareTable[MakePiece(White, type)][s] = white;
            // Black entries are negated so that one sum serves both colours.
            pieceSquareTable[MakePiece(Black, type)][s] = -mirrored;
        }
    }
    for (int t = 0; t < PlacementTableCount; ++t)
        FillColourTable(PawnPlacement[t], evaldata::PawnPlacementGrid[t]);
    FillColourTable(PassedPawnValue, evaldata::PassedPawnGrid);
    FillColourTable(CandidatePawnValue, evaldata::CandidatePawnGrid);
    FillColourTable(OutpostValue, evaldata::OutpostGrid);
    FillColourTable(ShelterValue, evaldata::ShelterGrid);
    FillColourTable(StormValue, evaldata::StormGrid);
}

} // namespace corvid
