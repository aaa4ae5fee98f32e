#include "gui/qt/board_view.h"

#include "gui/logic/desktop.h"

#include <QMouseEvent>
#include <QPainter>

namespace corvid {

namespace {
constexpr QRgb MarginColour = 0x444444;
// The book-move frame colours by slot (the i-th move's slot: bookMoveColourSlot).
constexpr QRgb BookColours[9] = {0x00DD00, 0x0000DD, 0xDD0000, 0x00DDDD, 0xDD00DD,
                                 0xDDDD00, 0xEEEEEE, 0x000000, 0x000000};

void frame(QPainter& painter, const Rect& cell, int inset, const QColor& colour) {
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(cell.x + inset + 0.5, cell.y + inset + 0.5, cell.width - 2 * inset - 1,
                            cell.height - 2 * inset - 1));
}
} // namespace

BoardView::BoardView(WindowState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void BoardView::setMarks(std::vector<SquareMark> marks) {
    marks_ = std::move(marks);
    update();
}

int BoardView::squareUnder(const QPointF& point) const {
    return squareAt(state_.layout, int(point.x()), int(point.y()), state_.flipped);
}

void BoardView::paintEvent(QPaintEvent*) {
    ++paintCount_;
    const WindowLayout& layout = state_.layout;
    images_.prepare(layout.squareSize, devicePixelRatioF());
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(MarginColour));
    const uint8_t* board = state_.shownBoard();
    const bool frames = highlightLastMove();
    for (int square = 0; square < 64; ++square) {
        Rect cell = squareCell(layout, square, state_.flipped);
        const bool dark = ((square & 7) + (square >> 3)) & 1;
        int code = board[square] == Empty ? 6 : board[square];
        if (const QPixmap* image = images_.image(code + (dark ? 16 : 0)))
            painter.drawPixmap(QRect(cell.x, cell.y, cell.width, cell.height), *image);
        if (frames && state_.hasPrevious && !state_.setupMode &&
            state_.previousBoard[square] != board[square]) {
            frame(painter, cell, 0, Qt::black);
            frame(painter, cell, 1, Qt::black);
        }
        if (square == state_.selectedSquare) {
            frame(painter, cell, 0, Qt::white);
            frame(painter, cell, 1, Qt::white);
        }
    }
    if (showLegalMoves() && state_.selectedSquare < 64 && !state_.setupMode) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(20, 90, 40, 150));
        for (int square = 0; square < 64; ++square) {
            if (!(state_.legalTargets & (uint64_t(1) << square))) continue;
            Rect cell = squareCell(layout, square, state_.flipped);
            const qreal r = cell.width * (board[square] == Empty ? 0.14 : 0.22);
            painter.drawEllipse(QPointF(cell.x + cell.width / 2.0, cell.y + cell.height / 2.0), r,
                                r);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    if (state_.boardMode == BookViewMode && !state_.setupMode) {
        auto moves = bookMoveSquares();
        for (size_t i = 0; i < moves.size(); ++i) {
            QColor colour = QColor::fromRgb(BookColours[bookMoveColourSlot(int(i))]);
            frame(painter, squareCell(layout, moves[i].first, state_.flipped), 0, colour);
            frame(painter, squareCell(layout, moves[i].second, state_.flipped), 0, colour);
        }
    }
    for (const SquareMark& mark : marks_)
        if (mark.square >= 0 && mark.square < 64)
            frame(painter, squareCell(layout, mark.square, state_.flipped), 0, mark.colour);
    if (showCoordinates()) drawCoordinates(painter);
}

void BoardView::drawCoordinates(QPainter& painter) {
    const WindowLayout& layout = state_.layout;
    const int size = layout.squareSize;
    QFont font = painter.font();
    font.setPixelSize(qBound(9, size / 5, 14));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(230, 230, 230));
    const int marginLeft = layout.boardLeft, below = BoardTop + 8 * size;
    for (int i = 0; i < 8; ++i) {
        const int file = state_.flipped ? 7 - i : i;
        const int rank = state_.flipped ? i + 1 : 8 - i;
        QRect fileBox(marginLeft + i * size, below, size, 16);
        painter.drawText(fileBox, Qt::AlignHCenter | Qt::AlignTop, QString(QChar('a' + file)));
        QRect rankBox(qMax(marginLeft - 16, 0), BoardTop + i * size, qMin(16, marginLeft), size);
        if (rankBox.width() > 6) painter.drawText(rankBox, Qt::AlignCenter, QString::number(rank));
    }
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    const int square = squareUnder(event->position());
    ClickOutcome outcome = ClickOutcome::Ignored;
    if (event->button() == Qt::LeftButton)
        outcome = pressSquare(state_, square);
    else if (event->button() == Qt::RightButton)
        outcome = rightClickSquare(state_, square, squareDetails);
    if (outcome != ClickOutcome::Ignored) emit boardInput();
    update();
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (releaseSquare(state_, squareUnder(event->position())) != ClickOutcome::Ignored)
        emit boardInput();
    update();
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    if (!state_.setupMode) return;
    const bool left = event->buttons() & Qt::LeftButton, right = event->buttons() & Qt::RightButton;
    if (setupDrag(state_, squareUnder(event->position()), left, right) != ClickOutcome::Ignored) {
        emit boardInput();
        update();
    }
}

} // namespace corvid
