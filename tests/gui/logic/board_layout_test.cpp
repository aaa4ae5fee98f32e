#include "gui/logic/board_layout.h"

#include <gtest/gtest.h>

namespace corvid {

TEST(BoardLayout, DefaultAndAnalysisPaneGeometry) {
    WindowLayout plain = computeLayout(776, 590, false);
    EXPECT_EQ(plain.squareSize, 64); // (min(520, 554) + 4) / 8 = 65, snapped
    EXPECT_EQ(plain.boardLeft, 18);
    EXPECT_EQ(plain.sidePanel.x, 551);
    EXPECT_EQ(plain.sidePanel.height, 590);

    WindowLayout pane = computeLayout(776, 707, true);
    EXPECT_EQ(pane.squareSize, 64); // (min(520, 554) + 4) / 8 = 65, snapped
    EXPECT_EQ(pane.analysis.y, 707 - 125);
    EXPECT_EQ(pane.sidePanel.height, 707 - 124);
    EXPECT_EQ(pane.analysisClose.x, 776 - 26);

    EXPECT_EQ(computeLayout(776, 590, true).squareSize, 55);     // (437 + 4) / 8
    EXPECT_EQ(computeLayout(1600, 1000, false).squareSize, 121); // (964 + 4) / 8
}

TEST(BoardLayout, TinyClientAreasKeepAUsableBoard) {
    for (int w : {-50, 0, 1, 100, 256, 300})
        for (int h : {-20, 0, 1, 100, 153}) {
            WindowLayout l = computeLayout(w, h, h > 50);
            EXPECT_GE(l.squareSize, MinSquareSize) << w << "x" << h;
            EXPECT_GE(l.boardLeft, 0);
            EXPECT_GE(l.sidePanel.x, 0);
            EXPECT_GE(l.sidePanel.height, 0);
            EXPECT_GE(l.analysis.y, 0);
            // Clicks map without dividing by zero.
            EXPECT_EQ(squareAt(l, l.boardLeft + 1, BoardTop + 1, false), 0);
        }
    WindowLayout minimum = computeLayout(minimumClientWidth(), minimumClientHeight(false), false);
    EXPECT_EQ(minimum.squareSize, MinSquareSize);
    EXPECT_LE(minimum.board.x + minimum.board.width, minimum.sidePanel.x);
}

TEST(BoardLayout, ClicksMapToSquaresInBothOrientations) {
    WindowLayout l = computeLayout(776, 590, false);
    EXPECT_EQ(squareAt(l, 18, 14, false), 0);              // a8 top left
    EXPECT_EQ(squareAt(l, 18, 14, true), 63);              // h1 when flipped
    EXPECT_EQ(squareAt(l, 18 + 511, 14 + 511, false), 63); // h1 bottom right
    EXPECT_EQ(squareAt(l, 17, 100, false), -1);            // left margin
    EXPECT_EQ(squareAt(l, 18 + 512, 100, false), -1);      // right of the board
    EXPECT_EQ(squareAt(l, 100, 13, false), -1);            // above
    EXPECT_EQ(squareAt(l, 100, 14 + 512, false), -1);      // below
    for (bool flipped : {false, true})
        for (int square = 0; square < 64; ++square) {
            Rect cell = squareCell(l, square, flipped);
            EXPECT_EQ(squareAt(l, cell.x + cell.width / 2, cell.y + cell.height / 2, flipped),
                      square);
            EXPECT_EQ(squareAt(l, cell.x, cell.y, flipped), square);
            EXPECT_EQ(squareAt(l, cell.x + cell.width - 1, cell.y + cell.height - 1, flipped),
                      square);
        }
}

} // namespace corvid
