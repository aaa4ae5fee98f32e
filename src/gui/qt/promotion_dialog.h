// The "PAWN" question of mouse move entry: which piece a pawn reaching the last rank becomes.
#pragma once

class QWidget;

namespace corvid {

// Buttons 100 "Queen", 101 "Rook", 102 "Bishop", 103 "Knight"; the piece type (4, 3, 2, 1).
// Closing the question without a choice gives the queen.
int askPromotionPiece(QWidget* parent);

} // namespace corvid
