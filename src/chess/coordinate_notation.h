// The engine-protocol move form: e2e4, e7e8q; castling e1g1, or e1h1 in Chess960.
#pragma once

#include "chess/position.h"

#include <string_view>

namespace corvid {

// Writes the move (NUL-terminated) and returns the length; move 0 or a marker is empty text.
int FormatCoordinate(char* buffer, Move move, const Position& position, bool chess960);

// The legal move the coordinate text names exactly (castling in either form), or 0.
Move LegalMoveNamed(const Position& position, std::string_view text);

} // namespace corvid
