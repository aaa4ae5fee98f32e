// The side panel right of the board: the players' names, their clocks and used times, the
// game status, the navigation and mode buttons, the move list and the status text. Every
// control carries its id as object name ("id109" is the move list) for the later panes and
// the tests.
#pragma once

#include "gui/logic/clock_display.h"

#include <QWidget>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace corvid {

// The object name of a control id ("id" and the number).
QString controlName(int id);

class SidePanel : public QWidget {
    Q_OBJECT
public:
    explicit SidePanel(QWidget* parent);

    void setNames(const QString& white, const QString& black);
    // The clock of the side to move is highlighted while the clocks run.
    void setClocks(const ClockReading& reading, bool highlight);
    void setMoveList(const std::vector<std::string>& entries, int selection);
    void setStatusText(const QString& text);
    void setGameStatus(const QString& move, const QString& whiteSurplus,
                       const QString& blackSurplus);
    // The Book and Analyze buttons look pressed in their board modes.
    void setBoardMode(int boardMode);
    QListWidget* moveList() const { return moveList_; }
    QLabel* statusLabel() const { return status_; }

signals:
    // A button of the panel was pressed (its id).
    void command(int id);
    // A move-list entry was chosen by the user.
    void moveListChosen(int entry);

private:
    QPushButton* button(int id, const QString& caption);

    QLabel *whiteName_, *blackName_, *whiteClock_, *blackClock_, *whiteUsed_, *blackUsed_;
    QLabel *moveNumber_, *whiteSurplus_, *blackSurplus_, *status_;
    QPushButton *bookButton_, *analyzeButton_;
    QListWidget* moveList_;
    bool filling_ = false; // the list is being refilled, not chosen from
};

} // namespace corvid
