// Mates in one (and short forced mates by checks): whether a move mates, whether a remembered
// mating move still works, and finders for the side to move or the side that has just moved.
#pragma once

#include "chess/move_gen.h"

namespace corvid {

// True when the move gives check (newCheckers, from GivesCheck) and leaves the opponent no way
// out. The move is made on a copy of the position.
bool isMateMove(const Position& p, Move move, Bitboard newCheckers);

// True when the move is playable for the side (which need not be the side to move) and mates.
bool isStillMating(const Position& p, int side, Move move);

// Searches checking sequences of at most plies plies (odd: 1 = mate in one, 3 = mate in two
// where every reply is forced). Returns the mate's length in plies, or 0, and the first move.
int findMateMove(const Position& p, int plies, Move& move);

// A mate in one for the side, also when it is not to move (as if it could move now).
int findMateThreat(const Position& p, int side, Move& move);

} // namespace corvid
