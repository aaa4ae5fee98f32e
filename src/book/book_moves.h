// Book moves of a position and the engine's pseudo-random choice among them.
#pragma once

#include "book/opening_book.h"
#include "chess/zobrist.h"

namespace corvid {

struct BookMoveList {
    int count = 0;
    Move moves[256];
    int16_t values[256]; // the value stored for the position after the move
};

// The legal moves, in generation order, whose resulting position is in the book and does not
// repeat a position of the game. keyHistory holds the game's position keys by ply (entry p =
// the key of the position at ply p) at least from the position's lastIrreversiblePly up to its
// ply; nullptr skips the repetition test.
int BookMoves(const OpeningBook& book, const Position& position, const uint64_t* keyHistory,
              BookMoveList& list);

// The book's move for the side to move, 0 when it has none: a move whose value is not against
// the side to move, picked pseudo-randomly, preferring values of magnitude 2 or more. The
// generator is first advanced by clockMs mod 128 steps.
Move ChooseBookMove(const OpeningBook& book, const Position& position, const uint64_t* keyHistory,
                    KeyRandom& random, int64_t clockMs);
// The same with the engine's own generator and clock (the search thread's book probe).
Move ChooseBookMove(const OpeningBook& book, const Position& position, const uint64_t* keyHistory);

// Whether ChooseBookMove would find a move, without drawing from the generator.
bool HasBookMove(const OpeningBook& book, const Position& position, const uint64_t* keyHistory);

// Per process: the generator of the book choice, warmed at first use; the search thread's.
KeyRandom& bookRandom();

} // namespace corvid
