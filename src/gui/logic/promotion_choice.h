// The "PAWN" question: the piece a pawn reaching the last rank becomes.
#pragma once

namespace corvid {

struct PromotionChoice {
    int id;              // the button
    const char* caption; // its caption
    char key;            // its key
    int piece;           // the piece type it gives
};

constexpr PromotionChoice PromotionChoices[4] = {{100, "Queen", 'Q', 4},
                                                 {101, "Rook", 'R', 3},
                                                 {102, "Bishop", 'B', 2},
                                                 {103, "Knight", 'N', 1}};

// The piece of the question's outcome: the chosen piece type, or the queen when the question
// was closed without a choice.
constexpr int promotionPieceOf(int outcome) { return outcome >= 1 && outcome <= 4 ? outcome : 4; }

} // namespace corvid
