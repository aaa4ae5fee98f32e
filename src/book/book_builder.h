// Building the book from PGN games: positions the chosen sides reached in the opening are
// counted, and those seen often enough are kept with value 0.
#pragma once

#include "book/opening_book.h"

#include <string>

namespace corvid {

// Which sides' moves count: a position counts when the move that reached it was made by the
// winner, in a drawn (or undecided) game, or by the loser.
constexpr int BookFromWinning = 1, BookFromDrawing = 2, BookFromLosing = 4;

struct BookBuildParameters {
    int sides = BookFromWinning | BookFromDrawing;
    int fromMove = 1;  // first move number counted (1-30)
    int upToMove = 10; // last move number counted (1-30)
    int maxGames = 50000;
    int minOccurrences = 1; // how often a position must occur to be kept
};

// The parameters as the book editor keeps them: move numbers within 1..30, at least one game
// and one occurrence.
BookBuildParameters ClampedBuildParameters(BookBuildParameters parameters);

// Counts the positions of the file's games into the book (new positions as occurrence counters,
// plain values kept). Games set up from another position are passed over. Returns the game
// counter (games read + 1), or 0 when the file cannot be read.
int BuildBookFromPgn(OpeningBook& book, const std::string& fileName,
                     const BookBuildParameters& parameters);

// The editor's "Add PGN": builds from the file, then keeps the positions seen at least
// minOccurrences times (as value 0) with every plain value, dropping the rarer counters. The
// book is filtered in memory, so it is never lost to a file that cannot be written.
int AddPgnToBook(OpeningBook& book, const std::string& fileName,
                 const BookBuildParameters& parameters);

} // namespace corvid
