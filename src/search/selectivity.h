// The per-node and per-move decisions of the selectivity rules: margins, extensions, the
// tactical flag, late move pruning and reductions, and the null move's conditions and depth.
#pragma once

#include "search/node_state.h"

namespace corvid {

// The move's extension in half plies before mate threats are looked at (checks, the singular
// table move, a safe pawn push to the 7th rank, recaptures in the endgame).
int extensionFor(const SearchContext& c, const NodeState& n, Move m, Bitboard checks,
                 int threatClass, int captured, bool singular);

// Moves protected from reductions and move-count pruning.
bool isTactical(const SearchContext& c, const NodeState& n, Move m, int stage, int ext,
                Bitboard checks, int threatClass);

// Move-count and exchange pruning of late moves, decided before the move is made; triedCount
// is the number of moves searched so far at the node.
bool lateMovePruned(const SearchContext& c, const NodeState& n, Move m, int stage, bool tactical,
                    Bitboard checks, int threatClass, int triedCount);

// The reduction (half plies, never negative) of a move after the first searched at newDepth.
int lateMoveReduction(const SearchContext& c, const NodeState& n, Move m, int stage, bool tactical,
                      Bitboard checks, int threatClass, int newDepth, int triedCount);

// How far the pruning value must exceed beta for reverse futility to return beta.
int reverseFutilityMargin(const SearchContext& c, const NodeState& n);

// Whether the node may try a null move, and the depth left for the search after it (a negative
// value sends it to the quiescence search).
bool nullMoveApplies(const SearchContext& c, const NodeState& n);
int nullMoveDepth(const SearchContext& c, const NodeState& n);

} // namespace corvid
