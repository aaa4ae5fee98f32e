// The evaluation taken apart for the desktop's develop displays: the terms of one evaluation
// by side, one piece's share, and one king's safety. Everything is read from the evaluation's
// own detail record and functions.
#pragma once

#include "chess/position.h"
#include "eval/eval_detail.h"
#include "eval/king_safety.h"

namespace corvid {

struct EvalBreakdown {
    int score = 0;         // the evaluation, for the side to move
    bool detailed = false; // the terms below were computed (not a specialised endgame)
    int phase = 0;
    // White's point of view.
    int material = 0;    // the material term, imbalance corrections included
    int rawMaterial = 0; // piece values alone
    int squareTable = 0; // piece-square sums and the tempo of the side to move, blended
    // By colour, each blended by the game phase and weighted as the evaluation counts it.
    int pawns[2] = {}; // structure + passed
    int structure[2] = {};
    int passed[2] = {};
    int mobility[2] = {}; // minor pieces, rooks and queens, placement and space
    int tactical[2] = {}; // threats
    int king[2] = {};     // king safety
    // The terms added up, White's point of view (bare king, exchange bonus, drawish scaling and
    // the rounding to a multiple of 4 come on top in the evaluation).
    int termSum() const;
};

// Evaluates the position on the full window and takes the result apart. detail receives the
// evaluation's record.
EvalBreakdown evalBreakdown(const Position& p, EvalDetail& detail);

// One piece's share of the evaluation (its own colour's point of view).
struct PieceShare {
    int type = 0;
    int pos = 0; // activity and safety terms, weighted and blended
    int sq = 0;  // piece-square value, blended
    int mat = 0; // piece value
    bool pinned = false;
};
// The piece on the square (not a king); detail is the record of the position's evaluation.
PieceShare pieceShare(const Position& p, int square, const EvalDetail& detail);

// One king's safety and what it is made of.
struct KingDetails {
    bool detailed = false; // false in the specialised endgames (no safety term)
    int safety = 0;        // as the evaluation counts it (weighted)
    KingSafetyBreakdown parts;
    int mobilityDiff = 0;  // own minus enemy mobility sum
    Bitboard attacked = 0; // squares the enemy attacks
    Bitboard defended = 0; // squares own pawns and pieces (not the king) defend
};
KingDetails kingDetails(const Position& p, int side);

} // namespace corvid
