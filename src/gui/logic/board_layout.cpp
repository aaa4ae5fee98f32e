#include "gui/logic/board_layout.h"

#include <algorithm>

namespace corvid {

namespace {
// Room the layout formula keeps beside and below the board.
constexpr int WidthReserve = 256, HeightReserve = 153, PaneAllowance = 117;
} // namespace

int minimumClientWidth() { return 8 * MinSquareSize - 4 + WidthReserve; }

int minimumClientHeight(bool analysisPane) {
    return 8 * MinSquareSize - 4 + HeightReserve + (analysisPane ? PaneAllowance : 0);
}

WindowLayout computeLayout(int w, int h, bool pane) {
    WindowLayout l;
    w = std::max(w, 0);
    h = std::max(h, 0);
    l.clientWidth = w;
    l.clientHeight = h;
    l.analysisPane = pane;
    const int p = pane ? 1 : 0;
    int size = (std::min(w - WidthReserve, h + PaneAllowance * (1 - p) - HeightReserve) + 4) / 8;
    if (size == 63 || size == 65) size = 64;
    // A tiny client area would give no squares at all (and divide by zero in the click
    // mapping): the squares keep a usable size and the board runs off the window instead.
    l.squareSize = std::max(size, MinSquareSize);
    l.boardLeft = std::max((w - 8 * l.squareSize - 228) / 2, 0);
    l.board = {l.boardLeft, BoardTop, 8 * l.squareSize, 8 * l.squareSize};
    l.sidePanel = {std::max(w - SidePanelWidth, 0), 0, SidePanelWidth,
                   std::max(h - (AnalysisPaneHeight - 1) * p, 0)};
    l.setupPanel = {l.sidePanel.x, 0, SidePanelWidth, h};
    if (pane) {
        l.analysis = {0, std::max(h - AnalysisPaneHeight, 0), w, AnalysisPaneHeight};
        l.analysisText = {4, 24, std::max(w - 8, 0), 96};
        l.analysisClose = {std::max(w - 26, 0), 2, 22, 21};
    }
    return l;
}

int squareAt(const WindowLayout& l, int x, int y, bool flipped) {
    if (l.squareSize <= 0 || !l.board.contains(x, y)) return -1;
    int file = (x - l.boardLeft) / l.squareSize;
    int row = (y - BoardTop) / l.squareSize;
    int square = row * 8 + file;
    return flipped ? 63 - square : square;
}

Rect squareCell(const WindowLayout& l, int square, bool flipped) {
    int shown = flipped ? 63 - square : square;
    return {l.boardLeft + (shown & 7) * l.squareSize, BoardTop + (shown >> 3) * l.squareSize,
            l.squareSize, l.squareSize};
}

} // namespace corvid
