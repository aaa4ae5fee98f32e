#include "gui/qt/side_panel.h"

#include "gui/logic/command_ids.h"
#include "gui/logic/window_state.h"
#include "gui/qt/mode_button.h"
#include "gui/qt/status_label.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvid {

QString controlName(int id) { return QStringLiteral("id%1").arg(id); }

namespace {

QLabel* label(int id, QWidget* parent, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(controlName(id));
    return l;
}

const char* ClockStyle = "QLabel { border: 1px solid #707070; padding: 2px 6px; font-weight: bold;"
                         " font-size: 15px; background: %1; color: %2; }";

QString clockStyle(bool toMove) {
    return QString::fromLatin1(ClockStyle)
        .arg(toMove ? "palette(highlight)" : "palette(button)", toMove ? "white" : "black");
}

} // namespace

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("CLIENT");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(4);

    auto* players = new QGridLayout;
    whiteName_ = label(114, this, "Human");
    blackName_ = label(115, this, "Corvid");
    whiteClock_ = label(112, this, "0:00");
    blackClock_ = label(113, this, "0:00");
    whiteUsed_ = label(123, this, "0:00");
    blackUsed_ = label(124, this, "0:00");
    for (QLabel* name : {whiteName_, blackName_}) {
        QFont font = name->font();
        font.setBold(true);
        name->setFont(font);
    }
    for (QLabel* clock : {whiteClock_, blackClock_}) {
        clock->setAlignment(Qt::AlignCenter);
        clock->setMinimumWidth(70);
        clock->setMinimumHeight(24);
        clock->setStyleSheet(clockStyle(false));
    }
    players->addWidget(new QLabel("White", this), 0, 0);
    players->addWidget(whiteName_, 0, 1);
    players->addWidget(whiteClock_, 1, 0);
    players->addWidget(whiteUsed_, 1, 1);
    players->addWidget(new QLabel("Black", this), 2, 0);
    players->addWidget(blackName_, 2, 1);
    players->addWidget(blackClock_, 3, 0);
    players->addWidget(blackUsed_, 3, 1);
    column->addLayout(players);

    moveNumber_ = label(129, this, "Move # 1");
    whiteSurplus_ = label(128, this);
    blackSurplus_ = label(127, this);
    auto* material = new QHBoxLayout;
    material->addWidget(whiteSurplus_);
    material->addWidget(blackSurplus_);
    column->addWidget(moveNumber_);
    column->addLayout(material);

    auto* navigation = new QHBoxLayout;
    navigation->setSpacing(2);
    navigation->addWidget(button(cmd::MoveNowOrStart, "<|"));
    navigation->addWidget(button(cmd::StepBack, "<"));
    navigation->addWidget(button(cmd::StepForward, ">"));
    navigation->addWidget(button(cmd::GoToEnd, "|>"));
    column->addLayout(navigation);
    auto* actions = new QHBoxLayout;
    actions->setSpacing(2);
    actions->addWidget(button(cmd::Retract, "Retract"));
    actions->addWidget(button(cmd::EngineMoveNow, "Move"));
    bookButton_ = button(cmd::BookButton, "Book", true);
    analyzeButton_ = button(cmd::AnalyzeButton, "Analyze", true);
    actions->addWidget(bookButton_);
    actions->addWidget(analyzeButton_);
    column->addLayout(actions);

    moveList_ = new QListWidget(this);
    moveList_->setObjectName(controlName(cmd::MoveListSelect));
    moveList_->setFocusPolicy(Qt::NoFocus);
    connect(moveList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_ && row >= 0) emit moveListChosen(row);
    });
    column->addWidget(moveList_, 1);

    status_ = new StatusLabel(this, 84);
    status_->setObjectName(controlName(122));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(status_);
}

QPushButton* SidePanel::button(int id, const QString& caption, bool modeButton) {
    auto* b = modeButton ? new ModeButton(caption, this) : new QPushButton(caption, this);
    b->setObjectName(controlName(id));
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumWidth(20);
    connect(b, &QPushButton::clicked, this, [this, id] { emit command(id); });
    return b;
}

void SidePanel::setNames(const QString& white, const QString& black) {
    whiteName_->setText(white);
    blackName_->setText(black);
}

void SidePanel::setClocks(const ClockReading& r, bool highlight) {
    whiteClock_->setText(QString::fromStdString(clockText(r.whiteLeft)));
    blackClock_->setText(QString::fromStdString(clockText(r.blackLeft)));
    whiteUsed_->setText(QString::fromStdString(clockText(r.whiteUsed)));
    blackUsed_->setText(QString::fromStdString(clockText(r.blackUsed)));
    const QString white = clockStyle(highlight && r.whiteToMove);
    const QString black = clockStyle(highlight && !r.whiteToMove);
    if (whiteClock_->styleSheet() != white) whiteClock_->setStyleSheet(white);
    if (blackClock_->styleSheet() != black) blackClock_->setStyleSheet(black);
}

void SidePanel::setMoveList(const std::vector<std::string>& entries, int selection) {
    filling_ = true;
    // Entries beyond the game's are removed; the others are rewritten where they changed.
    while (moveList_->count() > int(entries.size()))
        delete moveList_->takeItem(moveList_->count() - 1);
    for (size_t i = 0; i < entries.size(); ++i) {
        QString text = QString::fromStdString(entries[i]);
        if (int(i) < moveList_->count()) {
            if (moveList_->item(int(i))->text() != text) moveList_->item(int(i))->setText(text);
        } else {
            moveList_->addItem(text);
        }
    }
    moveList_->setCurrentRow(selection);
    if (selection >= 0) moveList_->scrollToItem(moveList_->item(selection));
    filling_ = false;
}

void SidePanel::setStatusText(const QString& text) { status_->setText(text); }

void SidePanel::setGameStatus(const QString& move, const QString& whiteSurplus,
                              const QString& blackSurplus) {
    moveNumber_->setText(move);
    whiteSurplus_->setText(whiteSurplus);
    blackSurplus_->setText(blackSurplus);
}

void SidePanel::setBoardMode(int boardMode) {
    static_cast<ModeButton*>(bookButton_)->setOn(boardMode == BookViewMode);
    static_cast<ModeButton*>(analyzeButton_)->setOn(boardMode == AnalysisMode);
}

} // namespace corvid
