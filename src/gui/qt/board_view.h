// The board area of the main window: the margins, the squares and pieces, the frames (last
// move, selection, book moves, marks of the search lines), the coordinates and the legal
// targets. Mouse input goes to the window-state logic.
#pragma once

#include "gui/logic/window_state.h"
#include "gui/qt/piece_images.h"

#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace corvid {

// A coloured frame on a square (book moves, the search's lines, the develop displays).
struct SquareMark {
    int square;
    QColor colour;
};

class BoardView : public QWidget {
    Q_OBJECT
public:
    BoardView(WindowState& state, QWidget* parent);

    // Extra frames drawn over the board until replaced (empty list: none).
    void setMarks(std::vector<SquareMark> marks);
    // Called on a right click in play mode with the square (the evaluation details).
    std::function<void(int square)> squareDetails;
    int paintCount() const { return paintCount_; }

signals:
    // The board changed through the mouse (selection, move, set-up edit).
    void boardInput();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int squareUnder(const QPointF& point) const;
    void drawCoordinates(class QPainter& painter);

    WindowState& state_;
    PieceImages images_;
    std::vector<SquareMark> marks_;
    int paintCount_ = 0;
};

} // namespace corvid
