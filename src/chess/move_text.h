// Reading move text in any form (coordinate, SAN, the long form, castling with O, 0 or o) and
// playing it into the game.
#pragma once

#include "chess/game_record.h"

#include <string_view>

namespace corvid {

// The text of a null move in the game record.
constexpr const char* NullMoveText = "Null";

// What a move text says; -1 marks an absent coordinate. Rows count from rank 8 (row 0).
struct MoveDescription {
    int fromFile = -1, fromRow = -1, toFile = -1, toRow = -1;
    int pieceType = Pawn; // 6: any piece (castling)
    int promotion = Queen;
};

// Reads the text (up to its end or a NUL) into out. False when it names no target square, or
// is castling the side to move has no right to.
bool ParseMoveText(std::string_view text, const Position& position, MoveDescription& out);

// True when the text is a null move: "Null" (also as a prefix, as UCI front ends send it),
// "--", "0000" or "Z0".
bool IsNullMoveText(std::string_view text);

// Plays the text on the position: a null move passes the turn, anything else is parsed and
// matched by PlayMoveInGame. With record set the move is appended to target.
bool ParseAndPlayMove(std::string_view text, Position& position, bool record, GameRecord& target);

} // namespace corvid
