// The panes beside the board through the real window: set-up mode with its panel, the side
// panel's buttons and move list, and the analysis pane's line count.
#include "dialog_window_test.h"

#include "chess/fen.h"
#include "chess/game_record.h"
#include "control/search_controller.h"
#include "gui/logic/command_ids.h"
#include "gui/qt/board_view.h"
#include "gui/qt/mode_button.h"
#include "gui/qt/side_panel.h"
#include "search/search_info.h"

#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>

namespace corvid::test {

namespace {
constexpr int a1 = 56, e1 = 60, h1 = 63, e8 = 4, d8 = 3, e2 = 52, e4 = 36, e7 = 12, e5 = 28;
constexpr int g1 = 62, f3 = 45;
} // namespace

class SetupModeTest : public DialogWindowTest {
protected:
    QWidget* panel() const { return window->findChild<QWidget*>("BOARDSET"); }
    void enter() {
        window->runCommand(cmd::SetupBoard);
        ASSERT_TRUE(panel()->isVisible());
        ASSERT_TRUE(waitFor([&] { return text(panel(), 122).startsWith("Board Setup Mode"); }));
    }
    std::string gameFen() const {
        char fen[128];
        PositionToFen(fen, gamePosition);
        return fen;
    }
};

TEST_F(SetupModeTest, APositionSetUpByClicksBecomesTheGame) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    enter();
    EXPECT_TRUE(control<QRadioButton>(panel(), 135)->isChecked());
    EXPECT_TRUE(control<QRadioButton>(panel(), 150)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(panel(), 1033)->isChecked());
    EXPECT_EQ(text(panel(), 50030), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const Rect& r = window->state().layout.setupPanel;
    EXPECT_EQ(panel()->geometry(), QRect(r.x, r.y, r.width, r.height));

    press(panel(), 1036); // Clear Board
    drag(e2, e4);         // the white pawn strewn on e2, e3 and e4? only where the pointer went
    press(panel(), 130);  // white king
    click(e1);
    press(panel(), 132); // white rook
    click(a1);
    click(h1);
    QTest::keyClick(window->boardView(), Qt::Key_D); // black rook
    click(d8);
    press(panel(), 136); // black king
    click(e8);
    press(panel(), 1034); // black O-O off
    press(panel(), 1035); // black O-O-O off
    press(panel(), 151);  // black to move
    const QString fen = text(panel(), 50030);
    EXPECT_TRUE(fen.startsWith("3rk3/8/8/8/4P3/8/4P3/R3K2R b KQ - 0 1") ||
                fen.startsWith("3rk3/8/8/8/4P3/4P3/4P3/R3K2R b KQ - 0 1"))
        << fen.toStdString();
    screenshot("setup_mode");

    press(panel(), 1031); // Done
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_FALSE(window->state().setupMode);
    EXPECT_EQ(gameFen(), fen.toStdString());
    EXPECT_EQ(window->sidePanel()->moveList()->count(), 0);
    EXPECT_TRUE(waitFor([&] { return text(window->sidePanel(), 122) == "Position Pasted."; }));
}

TEST_F(SetupModeTest, TwoWhiteKingsKeepThePanelOpenWithTheReason) {
    const std::string before = gameFen();
    enter();
    press(panel(), 130);
    click(e4); // a second white king
    press(panel(), 1031);
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_TRUE(window->state().setupMode);
    EXPECT_TRUE(
        waitFor([&] { return text(panel(), 122) == "Not a valid Position\n(Too many kings.)"; }));
    screenshot("setup_refused");
    EXPECT_EQ(gameFen(), before);

    // A FEN typed into the field replaces the panel's position.
    auto* field = control<QLineEdit>(panel(), 50030);
    field->setFocus();
    field->setText("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(window->state().setupBoard[e4], Empty);
    EXPECT_EQ(text(panel(), 50030), "4k3/8/8/8/8/8/8/4K3 w - - 0 1");

    press(panel(), 1038); // Cancel
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(gameFen(), before);
    EXPECT_EQ(window->state().game.board[e1], MakePiece(White, King));
}

TEST_F(SetupModeTest, StartBoardAndTheKeysFollowOnThePanel) {
    enter();
    press(panel(), 1036);
    press(panel(), 1037);
    EXPECT_EQ(window->state().setupBoard[e1], MakePiece(White, King));
    QTest::keyClick(window->boardView(), Qt::Key_W);
    EXPECT_TRUE(control<QRadioButton>(panel(), 134)->isChecked());
    window->runCommand(cmd::SetupBoard); // the menu item leaves like Cancel
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(DialogWindowTest, SidePanelNavigationRetractAndMove) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    // After each move the engine looks whether it is to play; clicks wait until it has.
    const std::pair<int, int> moves[] = {{e2, e4}, {e7, e5}, {g1, f3}};
    int ply = 0;
    for (const auto& [from, to] : moves) {
        click(from);
        click(to);
        ASSERT_TRUE(waitForPly(++ply));
    }
    QWidget* side = window->sidePanel();
    // Each button's reports are taken in before the next button reads the shown ply.
    auto step = [&](int id, int ply) {
        press(side, id);
        return waitFor([&] { return window->state().game.ply == ply && gamePosition.ply == ply; });
    };
    EXPECT_TRUE(step(110, 0)); // "<|"
    EXPECT_TRUE(step(cmd::StepForward, 1));
    EXPECT_TRUE(step(cmd::StepForward, 2));
    EXPECT_TRUE(step(cmd::StepBack, 1));
    EXPECT_TRUE(step(cmd::GoToEnd, 3));
    EXPECT_TRUE(window->boardView()->hasFocus());
    QListWidget* list = window->sidePanel()->moveList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_TRUE(waitFor([&] { return window->state().game.ply == 2; }));

    EXPECT_TRUE(step(cmd::GoToEnd, 3));
    // The person plays black and is to move: Retract takes back the engine's move and the
    // person's own.
    searchInfo.humanSide.store(HumanBlack);
    EXPECT_TRUE(step(cmd::Retract, 1));
    // The person plays white and the engine is to move: one back, and never before the start.
    searchInfo.humanSide.store(HumanWhite);
    EXPECT_TRUE(step(cmd::Retract, 0));
    EXPECT_TRUE(step(cmd::Retract, 0));

    // "Move": the engine plays white now and goes on as white.
    press(side, cmd::EngineMoveNow);
    ASSERT_TRUE(waitForPly(1));
    EXPECT_EQ(searchInfo.humanSide.load(), HumanBlack);
    EXPECT_EQ(text(window.get(), 114), "Corvid");
}

TEST_F(DialogWindowTest, ModeButtonsAreDrawnPressedAndTheClockOfTheSideToMoveLit) {
    auto* book = control<ModeButton>(window->sidePanel(), cmd::BookButton);
    auto* analyze = control<ModeButton>(window->sidePanel(), cmd::AnalyzeButton);
    ASSERT_TRUE(book && analyze);
    EXPECT_FALSE(book->isOn());
    press(window->sidePanel(), cmd::BookButton);
    EXPECT_EQ(window->state().boardMode, BookViewMode);
    EXPECT_TRUE(book->isOn());
    EXPECT_FALSE(analyze->isOn());
    const QImage pressed = book->grab().toImage();
    EXPECT_EQ(pressed.pixelColor(pressed.width() / 2, 4), QColor(204, 204, 153));
    screenshot("book_button_pressed");
    press(window->sidePanel(), cmd::AnalyzeButton);
    EXPECT_EQ(window->state().boardMode, AnalysisMode);
    EXPECT_TRUE(analyze->isOn());
    EXPECT_FALSE(book->isOn());
    press(window->sidePanel(), cmd::AnalyzeButton); // the second press turns it off
    EXPECT_EQ(window->state().boardMode, PlayMode);
    EXPECT_FALSE(analyze->isOn());
    const QImage raised = analyze->grab().toImage();
    EXPECT_NE(raised.pixelColor(raised.width() / 2, 4), QColor(204, 204, 153));

    searchInfo.humanSide.store(EnginePlaysNeither);
    searchInfo.clocksRunning.store(true);
    click(e2);
    click(e4);
    ASSERT_TRUE(waitForPly(1));
    window->refresh();
    auto* white = control<QLabel>(window->sidePanel(), 112);
    auto* black = control<QLabel>(window->sidePanel(), 113);
    EXPECT_EQ(white->styleSheet().indexOf("highlight"), -1);
    EXPECT_NE(black->styleSheet().indexOf("highlight"), -1);
    searchInfo.clocksRunning.store(false);
}

TEST_F(DialogWindowTest, AnalysisPaneLinesAndCopy) {
    window->setAnalysisPaneOpen(true);
    QWidget* pane = window->analysisPane();
    EXPECT_EQ(text(pane, 1046), "1");
    searchInfo.humanSide.store(EnginePlaysNeither);
    window->state().boardMode = AnalysisMode;
    requestAnalysis();
    ASSERT_TRUE(waitFor([] { return searchInfo.searchState.load() == SearchState::Analyzing; }));
    for (int i = 0; i < 6; ++i) press(pane, 1043);
    EXPECT_EQ(text(pane, 1046), "6");
    EXPECT_EQ(searchInfo.analysisLines.load(), 6);
    ASSERT_TRUE(waitFor([] { return searchInfo.searchState.load() == SearchState::Analyzing; }));
    screenshot("analysis_pane_six_lines");
    press(pane, 1044);
    EXPECT_EQ(text(pane, 1046), "5");
    EXPECT_TRUE(window->boardView()->hasFocus());
    stopSearch();
    window->state().boardMode = PlayMode;

    // Outside analysis mode the count does not change while the engine thinks.
    searchInfo.maxDepth.store(52);
    searchInfo.fixedMoveSeconds.store(20);
    searchInfo.humanSide.store(HumanBlack);
    requestThink();
    ASSERT_TRUE(waitFor([] { return searchInfo.searchState.load() == SearchState::Thinking; }));
    press(pane, 1043);
    EXPECT_EQ(text(pane, 1046), "5");
    stopSearch();
    searchInfo.analysisLines.store(1);

    int copies = 0;
    window->dispatcher().on(123, [&copies](int) { ++copies; });
    press(pane, 123);
    EXPECT_EQ(copies, 1);
}

} // namespace corvid::test
