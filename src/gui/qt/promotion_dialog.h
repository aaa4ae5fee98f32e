// The "PAWN" question of mouse move entry: which piece a pawn reaching the last rank becomes.
#pragma once

#include <memory>

class QDialog;
class QWidget;

namespace corvid {

// Buttons 100 "Queen", 101 "Rook", 102 "Bishop", 103 "Knight" (with the pieces of the
// promoting side drawn on them, and the keys Q, R, B, N); the dialog's result is the piece
// type (4, 3, 2, 1), 0 when it was closed without a choice.
std::unique_ptr<QDialog> buildPromotionDialog(QWidget* parent, int colour);
// Asks and returns the piece type; closing the question without a choice gives the queen.
int askPromotionPiece(QWidget* parent, int colour = 0);

} // namespace corvid
