// Static judgements of what a move threatens, for the search's extensions, reductions and
// pruning: the threat class, discovered attacks and escapes of attacked pieces.
#pragma once

#include "chess/position.h"

namespace corvid {

// Threat classes of a move, weakest to strongest.
constexpr int ThreatHangs = -1; // the moved piece would be lost
constexpr int ThreatNone = 0;
constexpr int ThreatMinor = 1;     // pressure: king zone, passed pawn, back rank
constexpr int ThreatAttack = 2;    // attacks one valuable target
constexpr int ThreatDouble = 3;    // fork, skewer, or wins material
constexpr int ThreatMate = 4;      // sets up a mate in one (the move is given)
constexpr int ThreatPromotion = 5; // a safe pawn step to the seventh rank

// The class of the side to move's move (not yet made): ThreatHangs .. ThreatPromotion. With
// "Threat Move Detection" off only the hanging test applies. For class 4, mateMove (when
// given) receives the follow-up mating move.
int threatClassOf(const Position& p, Move move, Move* mateMove = nullptr);

// The enemy pieces among candidates that own sliders of side newly attack through the
// square from, once a piece of side moves from there to to.
Bitboard discoveredTargets(const Position& p, int from, int to, int side, Bitboard candidates);

// The piece on the move's from-square is attacked by an unpinned enemy piece and either worth
// more than an attacking pawn, a rook or queen attacked by a minor piece, a queen attacked by
// a rook, or undefended.
bool isEscapeMove(const Position& p, Move move);

// The 3x3 block of squares around the square, moved inward at the board's edges.
Bitboard KingBlock(int square);

} // namespace corvid
