// The 32 board images: each piece on a light square (set "1") and on a dark square (set "2"),
// and the two empty squares, drawn by our own painter paths for the current square size and
// the screen's pixel density. Index = piece code (white 0..5, black 8..13; 6 and 14 the empty
// square) plus 16 on dark squares.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace corvid {

constexpr QRgb LightSquareColour = 0xC0C0C0, DarkSquareColour = 0x808080;

class PieceImages {
public:
    // Renders the images when the size or density changed since the last call.
    void prepare(int squareSize, qreal devicePixelRatio);
    // The image of an index (nullptr for the unused slots 7, 15, 23, 31).
    const QPixmap* image(int index) const;
    int squareSize() const { return size_; }

private:
    std::array<QPixmap, 32> images_;
    int size_ = 0;
    qreal ratio_ = 0;
};

// The outline of a piece type (pawn 0 .. king 5) in a 100 x 100 box, and its inner detail
// lines (drawn in the contrasting colour).
QPainterPath pieceOutline(int type);
QPainterPath pieceDetails(int type);
// Draws one piece of a colour (0 white, 1 black) into the rectangle.
void paintPiece(class QPainter& painter, const QRectF& box, int type, int colour);
// The program's icon: a black knight on a light square, size x size pixels.
QImage programIcon(int size);

} // namespace corvid
