#include "gui/qt/board_view.h"

#include "gui/logic/desktop.h"
#include "gui/logic/search_display.h"
#include "gui/logic/windows_colour.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace corvid {

namespace {
constexpr QRgb MarginColour = 0x444444;

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
    // A running search sends the same marks many times: only a change repaints the board.
    auto same = [](const SquareMark& a, const SquareMark& b) {
        return a.square == b.square && a.colour == b.colour;
    };
    if (std::equal(marks.begin(), marks.end(), marks_.begin(), marks_.end(), same)) return;
    marks_ = std::move(marks);
    update();
}

void BoardView::setEvalBarShare(double share) {
    share = qBound(0.0, share, 1.0);
    if (share == evalBarShare_) return;
    evalBarShare_ = share;
    if (evalBarShown()) update();
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
            QColor colour = QColor::fromRgb(bookMoveColour(int(i)));
            frame(painter, squareCell(layout, moves[i].first, state_.flipped), 0, colour);
            frame(painter, squareCell(layout, moves[i].second, state_.flipped), 0, colour);
        }
    }
    // Two pixels wide, so that a line's colour shows on both square colours.
    for (const SquareMark& mark : marks_)
        if (mark.square >= 0 && mark.square < 64) {
            const Rect cell = squareCell(layout, mark.square, state_.flipped);
            frame(painter, cell, 0, mark.colour);
            frame(painter, cell, 1, mark.colour);
        }
    if (showCoordinates()) drawCoordinates(painter);
    if (evalBarShown()) drawEvalBar(painter);
}

void BoardView::drawEvalBar(QPainter& painter) {
    const WindowLayout& layout = state_.layout;
    const int boardRight = layout.boardLeft + 8 * layout.squareSize;
    const int room = width() - boardRight;
    const int barWidth = qMin(10, room - 6);
    if (barWidth < 3) return;
    const QRect bar(boardRight + (room - barWidth) / 2, BoardTop, barWidth, 8 * layout.squareSize);
    // White's part grows from White's side of the board.
    const int whiteHeight = int(evalBarShare_ * bar.height() + 0.5);
    QRect white = bar, black = bar;
    if (state_.flipped) {
        white.setHeight(whiteHeight);
        black.setTop(bar.top() + whiteHeight);
    } else {
        black.setHeight(bar.height() - whiteHeight);
        white.setTop(bar.top() + bar.height() - whiteHeight);
    }
    painter.fillRect(black, QColor(32, 32, 32));
    painter.fillRect(white, QColor(240, 240, 240));
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    const int middle = bar.top() + bar.height() / 2;
    painter.drawLine(bar.left(), middle, bar.right(), middle);
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
