// Reading and writing positions as FEN text, and the Chess960 start positions.
#pragma once

#include "chess/position.h"

#include <cstddef>

namespace corvid {

// Reads FEN (or the first four EPD fields). On success overwrites target and the game's
// CastleInfo and returns true; on failure leaves both untouched, reports the reason on the
// status line and, when error is given, stores it there.
bool SetPositionFromFen(Position& target, const char* text, size_t length, CastleInfo* castleInfo,
                        const char** error = nullptr);
bool SetPositionFromFen(Position& target, const char* text, CastleInfo* castleInfo,
                        const char** error = nullptr);

// Writes the FEN's first field, the pieces rank by rank from rank 8 (NUL-terminated), and
// returns its length.
int PiecePlacementToFen(char* buffer, const uint8_t* board);

// Writes the FEN of the position (NUL-terminated) and returns its length. The buffer needs
// room for 100 characters.
int PositionToFen(char* buffer, const Position& position);

// Sets up Chess960 start position number 0..959 (518 is the standard arrangement).
bool Chess960Setup(Position& position, int number);

} // namespace corvid
