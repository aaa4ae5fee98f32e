#include "gui/qt/piece_images.h"

#include <QPainter>

namespace corvid {

namespace {

QPainterPath roundedBox(qreal x, qreal y, qreal w, qreal h, qreal r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath disc(qreal x, qreal y, qreal r) {
    QPainterPath path;
    path.addEllipse(QPointF(x, y), r, r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPolygonF poly;
    for (const QPointF& p : points) poly << p;
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

// Every piece stands on the same plinth.
QPainterPath plinth() { return roundedBox(22, 80, 56, 9, 3).united(roundedBox(28, 72, 44, 9, 2)); }

QPainterPath pawn() {
    QPainterPath body;
    body.moveTo(41, 44);
    body.cubicTo(41, 58, 34, 66, 29, 74);
    body.lineTo(71, 74);
    body.cubicTo(66, 66, 59, 58, 59, 44);
    body.closeSubpath();
    return disc(50, 28, 12)
        .united(roundedBox(36, 40, 28, 7, 3))
        .united(body)
        .united(roundedBox(24, 76, 52, 12, 3));
}

QPainterPath rook() {
    QPainterPath top = polygon({{29, 33},
                                {29, 13},
                                {38, 13},
                                {38, 20},
                                {45.5, 20},
                                {45.5, 13},
                                {54.5, 13},
                                {54.5, 20},
                                {62, 20},
                                {62, 13},
                                {71, 13},
                                {71, 33}});
    QPainterPath body = polygon({{34, 33}, {66, 33}, {64, 72}, {36, 72}});
    return plinth().united(body).united(top);
}

QPainterPath knight() {
    QPainterPath head;
    head.moveTo(33, 74);
    head.cubicTo(34, 64, 40, 58, 47, 52);
    head.cubicTo(40, 50, 32, 52, 25, 52);
    head.cubicTo(18, 52, 14, 46, 17, 41);
    head.lineTo(31, 27);
    head.lineTo(39, 19);
    head.lineTo(43, 7);
    head.lineTo(51, 16);
    head.cubicTo(66, 18, 79, 33, 79, 54);
    head.cubicTo(79, 63, 77, 69, 74, 74);
    head.closeSubpath();
    return plinth().united(head);
}

QPainterPath bishop() {
    QPainterPath mitre;
    mitre.moveTo(50, 20);
    mitre.cubicTo(65, 30, 70, 46, 62, 60);
    mitre.lineTo(61, 72);
    mitre.lineTo(39, 72);
    mitre.lineTo(38, 60);
    mitre.cubicTo(30, 46, 35, 30, 50, 20);
    mitre.closeSubpath();
    return plinth().united(mitre).united(disc(50, 15, 6));
}

QPainterPath queen() {
    QPainterPath crown = polygon({{30, 72},
                                  {17, 31},
                                  {33, 50},
                                  {35, 22},
                                  {44, 47},
                                  {50, 15},
                                  {56, 47},
                                  {65, 22},
                                  {67, 50},
                                  {83, 31},
                                  {70, 72}});
    return plinth()
        .united(crown)
        .united(disc(17, 28, 5))
        .united(disc(35, 19, 5))
        .united(disc(50, 12, 5))
        .united(disc(65, 19, 5))
        .united(disc(83, 28, 5));
}

QPainterPath king() {
    QPainterPath body;
    body.moveTo(30, 72);
    body.cubicTo(18, 60, 20, 42, 34, 39);
    body.cubicTo(42, 37, 48, 42, 50, 48);
    body.cubicTo(52, 42, 58, 37, 66, 39);
    body.cubicTo(80, 42, 82, 60, 70, 72);
    body.closeSubpath();
    QPainterPath cross = roundedBox(46, 6, 8, 34, 1).united(roundedBox(38, 13, 24, 8, 1));
    return plinth().united(body).united(cross);
}

} // namespace

QPainterPath pieceOutline(int type) {
    switch (type) {
    case 0:
        return pawn();
    case 1:
        return knight();
    case 2:
        return bishop();
    case 3:
        return rook();
    case 4:
        return queen();
    default:
        return king();
    }
}

QPainterPath pieceDetails(int type) {
    QPainterPath d;
    auto line = [&d](qreal x1, qreal y1, qreal x2, qreal y2) {
        d.moveTo(x1, y1);
        d.lineTo(x2, y2);
    };
    if (type != 0) line(30, 80, 70, 80); // the plinth's upper edge
    switch (type) {
    case 1: // eye, nostril, mane
        d.addEllipse(QPointF(37, 30), 3, 3);
        d.addEllipse(QPointF(22, 44), 1.6, 1.6);
        d.moveTo(56, 20);
        d.cubicTo(68, 28, 73, 42, 72, 60);
        break;
    case 2: // the mitre's slit and collar
        line(57, 33, 46, 47);
        line(39, 61, 61, 61);
        break;
    case 3: // the rings under the battlements and over the plinth
        line(34, 33, 66, 33);
        line(36, 66, 64, 66);
        break;
    case 4:
        line(31, 64, 69, 64);
        break;
    case 5:
        line(31, 64, 69, 64);
        break;
    default:
        break;
    }
    return d;
}

void paintPiece(QPainter& painter, const QRectF& box, int type, int colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / 100.0, box.height() / 100.0);
    const bool white = colour == 0;
    QPen outline(white ? QColor(16, 16, 16) : QColor(0, 0, 0), 3.2);
    outline.setJoinStyle(Qt::RoundJoin);
    painter.setPen(outline);
    painter.setBrush(white ? QColor(250, 250, 244) : QColor(38, 38, 38));
    painter.drawPath(pieceOutline(type));
    QPen detail(white ? QColor(16, 16, 16) : QColor(220, 220, 220), 2.4);
    detail.setCapStyle(Qt::RoundCap);
    painter.setPen(detail);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(pieceDetails(type));
    painter.restore();
}

void PieceImages::prepare(int squareSize, qreal ratio) {
    if (squareSize == size_ && ratio == ratio_) return;
    size_ = squareSize;
    ratio_ = ratio;
    const int pixels = qMax(1, qRound(squareSize * ratio));
    for (int index = 0; index < 32; ++index) {
        const int code = index & 15;
        if (code == 7 || code == 15) {
            images_[size_t(index)] = QPixmap();
            continue;
        }
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(QColor::fromRgb(index >= 16 ? DarkSquareColour : LightSquareColour));
        if (code != 6 && code != 14) {
            QPainter painter(&image);
            const qreal inset = squareSize * 0.04;
            paintPiece(painter,
                       QRectF(inset, inset, squareSize - 2 * inset, squareSize - 2 * inset),
                       code & 7, code >> 3);
        }
        images_[size_t(index)] = QPixmap::fromImage(image);
    }
}

const QPixmap* PieceImages::image(int index) const {
    if (index < 0 || index >= 32 || images_[size_t(index)].isNull()) return nullptr;
    return &images_[size_t(index)];
}

QImage programIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, size, size), size * 0.12, size * 0.12);
    painter.setClipPath(tile);
    painter.fillRect(QRectF(0, 0, size, size), QColor::fromRgb(LightSquareColour));
    painter.setBrush(QColor::fromRgb(DarkSquareColour));
    painter.drawRect(QRectF(size / 2.0, 0, size / 2.0, size / 2.0));
    painter.drawRect(QRectF(0, size / 2.0, size / 2.0, size / 2.0));
    const qreal inset = size * 0.06;
    paintPiece(painter, QRectF(inset, inset, size - 2 * inset, size - 2 * inset), 1, 1);
    return image;
}

} // namespace corvid
