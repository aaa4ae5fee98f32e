// "BOARDSET": the set-up panel shown in place of the side panel in board set-up mode. It
// follows the window state on every refresh (the board and the W A S D keys change it too) and
// takes the status texts while it is shown.
#include "gui/logic/setup_panel.h"
#include "gui/qt/board_view.h"
#include "gui/qt/dialog_view.h"
#include "gui/qt/dialogs.h"
#include "gui/qt/main_window.h"
#include "gui/qt/side_panel.h"
#include "gui/qt/status_label.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvid {

namespace {

class SetupPanelView : public QWidget {
public:
    SetupPanelView(MainWindow& window, QWidget* parent);
    // Shows or hides the panel by the state and copies the state to the controls.
    void follow();

private:
    QPushButton* button(QGridLayout* grid, int row, int column, int id, const QString& caption,
                        std::function<void()> action);
    void changed();

    MainWindow& window_;
    WindowState& state_;
    QButtonGroup* pieces_;
    QButtonGroup* side_;
    QCheckBox* castles_[4];
    QLineEdit* fen_;
    QLabel* status_;
};

SetupPanelView::SetupPanelView(MainWindow& window, QWidget* parent)
    : QWidget(parent), window_(window), state_(window.state()) {
    setObjectName("BOARDSET");
    setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(3);

    const char* kinds[6] = {"King", "Queen", "Rook", "Bishop", "Knight", "Pawn"};
    auto* pieceGrid = new QGridLayout;
    pieceGrid->addWidget(makeLabel(this, "WHITE"), 0, 0);
    pieceGrid->addWidget(makeLabel(this, "BLACK"), 0, 1);
    pieces_ = new QButtonGroup(this);
    for (int id = FirstSetupPiece; id <= LastSetupPiece; ++id) {
        const int kind = (id - FirstSetupPiece) % 6, colour = (id - FirstSetupPiece) / 6;
        QRadioButton* radio = makeRadio(this, id, kinds[kind]);
        radio->setFocusPolicy(Qt::NoFocus);
        pieces_->addButton(radio, id);
        pieceGrid->addWidget(radio, kind + 1, colour);
    }
    connect(pieces_, &QButtonGroup::idClicked, this, [this](int id) {
        state_.setupButton = id;
        changed();
    });
    column->addLayout(pieceGrid);

    auto* castling = new QGridLayout;
    const char* castleCaptions[4] = {"O-O", "O-O-O", "O-O", "O-O-O"};
    castling->addWidget(makeLabel(this, "White"), 0, 0);
    castling->addWidget(makeLabel(this, "Black"), 0, 1);
    for (int i = 0; i < 4; ++i) {
        castles_[i] = makeCheck(this, boardset::CastleBoxes[i], castleCaptions[i]);
        castles_[i]->setFocusPolicy(Qt::NoFocus);
        connect(castles_[i], &QCheckBox::clicked, this, [this, i](bool on) {
            state_.setupCastleRights =
                on ? state_.setupCastleRights | (1 << i) : state_.setupCastleRights & ~(1 << i);
            changed();
        });
        castling->addWidget(castles_[i], i % 2 + 1, i / 2);
    }
    column->addLayout(castling);

    auto* toMove = new QHBoxLayout;
    toMove->addWidget(makeLabel(this, "TO MOVE:"));
    side_ = new QButtonGroup(this);
    for (int id : {boardset::WhiteToMove, boardset::BlackToMove}) {
        QRadioButton* radio = makeRadio(this, id, id == boardset::WhiteToMove ? "White" : "Black");
        radio->setFocusPolicy(Qt::NoFocus);
        side_->addButton(radio, id);
        toMove->addWidget(radio);
    }
    connect(side_, &QButtonGroup::idClicked, this, [this](int id) {
        state_.setupSideToMove = id == boardset::BlackToMove ? Black : White;
        changed();
    });
    column->addLayout(toMove);

    auto* buttons = new QGridLayout;
    button(buttons, 0, 0, boardset::Done, "Done", [this] { finishSetup(state_); });
    button(buttons, 0, 1, boardset::Cancel, "Cancel", [this] { cancelSetup(state_); });
    button(buttons, 1, 0, boardset::ClearBoard, "Clear Board", [this] { setupClearBoard(state_); });
    button(buttons, 1, 1, boardset::StartBoard, "Start Board", [this] { setupStartBoard(state_); });
    column->addLayout(buttons);

    column->addWidget(makeLabel(this, "FEN:"));
    fen_ = makeField(this, boardset::FenField, 200);
    fen_->setMinimumWidth(100);
    fen_->setMaximumWidth(QWIDGETSIZE_MAX);
    connect(fen_, &QLineEdit::returnPressed, this, [this] {
        setupFromFen(state_, fen_->text().toStdString());
        window_.boardView()->setFocus();
        changed();
    });
    column->addWidget(fen_);

    status_ = new StatusLabel(this, 84);
    status_->setObjectName(controlName(122));
    column->addWidget(status_, 1);
    hide();
}

QPushButton* SetupPanelView::button(QGridLayout* grid, int row, int column, int id,
                                    const QString& caption, std::function<void()> action) {
    QPushButton* b = makeButton(this, id, caption);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, [this, action = std::move(action)] {
        action();
        changed();
    });
    grid->addWidget(b, row, column);
    return b;
}

void SetupPanelView::changed() {
    window_.refresh();
    window_.boardView()->setFocus();
}

void SetupPanelView::follow() {
    if (!state_.setupMode) {
        hide();
        return;
    }
    const Rect& r = state_.layout.setupPanel;
    setGeometry(r.x, r.y, r.width, r.height);
    if (!isVisible()) {
        status_->clear();
        show();
    }
    raise();
    if (QAbstractButton* piece = pieces_->button(state_.setupButton)) piece->setChecked(true);
    side_->button(state_.setupSideToMove == Black ? boardset::BlackToMove : boardset::WhiteToMove)
        ->setChecked(true);
    for (int i = 0; i < 4; ++i) castles_[i]->setChecked(state_.setupCastleRights & (1 << i));
    // A FEN being typed is left alone.
    if (!fen_->hasFocus()) {
        fen_->setText(QString::fromStdString(setupFen(state_)));
        fen_->setCursorPosition(0);
    }
}

} // namespace

void installSetupPanel(MainWindow& window) {
    auto* panel = new SetupPanelView(window, window.centralWidget());
    window.setSetupPanel(panel);
    window.addRefreshListener([panel] { panel->follow(); });
    // While the panel is shown the status texts are its own.
    auto* status = panel->findChild<QLabel*>(controlName(122));
    window.statusOverride = [panel = QPointer<QWidget>(panel), status,
                             previous = window.statusOverride](const QString& text) {
        if (panel && panel->isVisible()) {
            status->setText(text);
            return true;
        }
        return previous ? previous(text) : false;
    };
}

} // namespace corvid
