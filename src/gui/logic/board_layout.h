// The window's geometry: where the board, the side panel and the analysis pane go for a client
// size, and which square a point falls on.
#pragma once

namespace corvid {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

constexpr int DefaultClientWidth = 776, DefaultClientHeight = 590;
// The outer size "Size Window to Default" restores (without and with the analysis pane).
constexpr int DefaultWindowWidth = 782, DefaultWindowHeight = 600, DefaultWindowHeightPane = 717;
constexpr int BoardTop = 14;
constexpr int SidePanelWidth = 225, AnalysisPaneHeight = 125;
// Below this the pieces are no longer recognisable; the window's minimum size keeps it.
constexpr int MinSquareSize = 16;
// The smallest client area with a board of MinSquareSize squares (the window's minimum).
int minimumClientWidth();
int minimumClientHeight(bool analysisPane);

struct WindowLayout {
    int clientWidth = DefaultClientWidth, clientHeight = DefaultClientHeight;
    bool analysisPane = false;
    int squareSize = 64;
    int boardLeft = 18;
    Rect board;        // the 8 x 8 squares
    Rect sidePanel;    // right of the board
    Rect setupPanel;   // in place of the side panel in set-up mode
    Rect analysis;     // along the bottom, when the pane is open
    Rect analysisText; // inside the pane
    Rect analysisClose;
};

// The layout for a client area; any size (even zero or negative) gives squares of at least
// MinSquareSize and no negative extent.
WindowLayout computeLayout(int clientWidth, int clientHeight, bool analysisPane);

// The square (0 = a8 .. 63 = h1) under a client point, or -1 off the board. flipped shows
// black at the bottom (the board mirrored in both directions).
int squareAt(const WindowLayout& layout, int x, int y, bool flipped);
// The cell a square occupies on the screen.
Rect squareCell(const WindowLayout& layout, int square, bool flipped);

} // namespace corvid
