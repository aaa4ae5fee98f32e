// Set-up mode edits the window's own board without the engine: clicks, right clicks and drags
// on squares, and nothing for points off the board.
#include "gui/logic/desktop.h"

#include <gtest/gtest.h>

namespace corvid {

TEST(SetupInput, EditsSquaresAndIgnoresPointsOffTheBoard) {
    WindowState state;
    state.setupMode = true;
    state.setupButton = 131; // white queen
    EXPECT_EQ(pressSquare(state, 27), ClickOutcome::SetupChanged);
    EXPECT_EQ(state.setupBoard[27], MakePiece(White, Queen));
    // Off the board (-1) and beyond it, nothing is addressed.
    for (int square : {-1, 64, 127, -64}) {
        EXPECT_EQ(pressSquare(state, square), ClickOutcome::Ignored);
        EXPECT_EQ(rightClickSquare(state, square, nullptr), ClickOutcome::Ignored);
        EXPECT_EQ(setupDrag(state, square, true, false), ClickOutcome::Ignored);
        EXPECT_EQ(setupDrag(state, square, false, true), ClickOutcome::Ignored);
        EXPECT_EQ(releaseSquare(state, square), ClickOutcome::Ignored);
    }
    // Dragging strews pawns only; the right button empties.
    EXPECT_EQ(setupDrag(state, 28, true, false), ClickOutcome::Ignored);
    EXPECT_EQ(state.setupBoard[28], Empty);
    state.setupButton = 141; // black pawn
    EXPECT_EQ(setupDrag(state, 28, true, false), ClickOutcome::SetupChanged);
    EXPECT_EQ(state.setupBoard[28], MakePiece(Black, Pawn));
    EXPECT_EQ(setupDrag(state, 27, false, true), ClickOutcome::SetupChanged);
    EXPECT_EQ(state.setupBoard[27], Empty);
    EXPECT_EQ(rightClickSquare(state, 28, nullptr), ClickOutcome::SetupChanged);
    EXPECT_EQ(state.setupBoard[28], Empty);
    // Outside set-up mode a drag changes nothing.
    state.setupMode = false;
    EXPECT_EQ(setupDrag(state, 28, true, false), ClickOutcome::Ignored);
}

TEST(ShowGame, RemembersTheLastChangeForTheFrames) {
    WindowState state;
    GameSnapshot start;
    start.board[52] = MakePiece(White, Pawn);
    showGame(state, start);
    EXPECT_FALSE(state.hasPrevious); // a game at its start has no last move
    GameSnapshot after = start;
    after.board[52] = Empty;
    after.board[36] = MakePiece(White, Pawn);
    after.ply = after.moveCount = 1;
    after.sideToMove = Black;
    showGame(state, after);
    ASSERT_TRUE(state.hasPrevious);
    EXPECT_EQ(state.previousBoard[52], MakePiece(White, Pawn));
    // The same board reported again keeps the frames of the last move.
    showGame(state, after);
    EXPECT_EQ(state.previousBoard[52], MakePiece(White, Pawn));
    EXPECT_EQ(state.previousBoard[36], Empty);
}

} // namespace corvid
