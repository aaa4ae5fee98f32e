// The real window with the engine: mouse move entry, the engine's replies, promotion, keys,
// sides and orientation, new games, clocks and the screenshots.
#include "window_test_support.h"

#include "chess/game_record.h"
#include "control/preferences.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "control/thread_count.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/desktop.h"
#include "gui/logic/key_table.h"
#include "gui/qt/board_view.h"
#include "gui/qt/piece_images.h"
#include "gui/qt/side_panel.h"
#include "platform/clock.h"
#include "search/search_info.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayoutItem>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace corvid::test {

namespace {

constexpr int a7 = 8, a8 = 0, e2 = 52, e4 = 36, e5 = 28, e7 = 12, h1 = 63;
constexpr int g8 = 6, f6 = 21;

QString moveListRow(MainWindow& window, int row) {
    auto* list = window.sidePanel()->findChild<QListWidget*>(controlName(cmd::MoveListSelect));
    return list && row < list->count() ? list->item(row)->text() : QString();
}

QString labelText(MainWindow& window, int id) {
    auto* label = window.findChild<QLabel*>(controlName(id));
    return label ? label->text() : QString();
}

} // namespace

TEST_F(WindowTest, ClickClickPlaysTheMoveAndTheEngineRepliesAsBlack) {
    click(e2);
    EXPECT_EQ(window->state().selectedSquare, e2);
    EXPECT_TRUE(window->state().legalTargets & (uint64_t(1) << e4));
    screenshot("piece_selected");
    click(e4);
    ASSERT_TRUE(waitForPly(2));
    EXPECT_EQ(window->state().selectedSquare, NothingSelected);
    EXPECT_TRUE(moveListRow(*window, 0).startsWith("1. e2-e4  |  "))
        << moveListRow(*window, 0).toStdString();
    EXPECT_EQ(gameRecord.moveCount, 2);
}

TEST_F(WindowTest, DragPlaysTheSameMove) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    drag(e2, e4);
    ASSERT_TRUE(waitFor([&] { return window->state().game.ply == 1; }));
    EXPECT_EQ(moveListRow(*window, 0), "1. e2-e4 ");
    EXPECT_EQ(window->state().game.board[e4], MakePiece(White, Pawn));
}

TEST_F(WindowTest, IllegalMovesAndTheEnginesPiecesAreRefused) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    click(e2);
    click(e5); // two squares too far
    QTest::qWait(50);
    EXPECT_EQ(window->state().game.ply, 0);
    EXPECT_EQ(gameRecord.moveCount, 0);
    click(e7); // not the side to move
    EXPECT_EQ(window->state().selectedSquare, e2);
    QTest::mouseClick(window->boardView(), Qt::LeftButton, {}, QPoint(2, 2)); // off the board
    EXPECT_EQ(window->state().selectedSquare, e2);
}

TEST_F(WindowTest, ClicksWhileTheEngineThinksOnItsMoveDoNothing) {
    searchInfo.maxDepth.store(52);
    searchInfo.fixedMoveSeconds.store(20);
    click(e2);
    click(e4);
    ASSERT_TRUE(waitFor([] { return searchInfo.searchState.load() == SearchState::Thinking; }));
    QApplication::processEvents();
    const int ply = window->state().game.ply;
    click(g8);
    click(f6);
    EXPECT_EQ(window->state().selectedSquare, NothingSelected);
    EXPECT_EQ(window->state().game.ply, ply);
    // Keys are ignored too.
    bool flipped = window->state().flipped;
    window->dispatcher().on(cmd::DisplayEval, [&](int) { flipped = !flipped; });
    QTest::keyClick(window->boardView(), Qt::Key_E);
    EXPECT_EQ(flipped, window->state().flipped);
    moveNow();
    ASSERT_TRUE(waitForPly(2));
}

TEST_F(WindowTest, PromotionByMouseAsksForThePiece) {
    startFromFen("7k/P7/8/8/8/8/8/K7 w - - 0 1");
    promotionChoice = Knight;
    click(a7);
    click(a8);
    ASSERT_TRUE(waitFor([&] { return window->state().game.moveCount == 1; }));
    EXPECT_EQ(promotionQuestions, 1);
    EXPECT_EQ(window->state().game.board[a8], MakePiece(White, Knight));
    EXPECT_EQ(gamePosition.board[a8], MakePiece(White, Knight));
}

TEST_F(WindowTest, GameEndIsAnnouncedOnce) {
    startFromFen("7k/5Q2/6K1/8/8/8/8/8 w - - 0 1");
    click(13); // Qf7-g7 mates
    click(14);
    ASSERT_TRUE(waitFor([&] { return !messages.empty(); }));
    EXPECT_EQ(messages.front(), " Game Over |Check Mate!");
    EXPECT_EQ(searchInfo.gameResult.load(), GameWhiteWon);
    EXPECT_NE(window->windowTitle().indexOf("(1-0)"), -1);
}

TEST_F(WindowTest, FlippedBoardMapsTheTopLeftCellToH1) {
    window->runCommand(cmd::FlipBoard);
    ASSERT_TRUE(window->state().flipped);
    EXPECT_TRUE(window->action(cmd::FlipBoard)->isChecked());
    QTest::mouseClick(window->boardView(), Qt::LeftButton, {},
                      QPoint(window->state().layout.boardLeft + 2, BoardTop + 2));
    EXPECT_EQ(window->state().selectedSquare, h1);
    screenshot("flipped");
}

TEST_F(WindowTest, SidesNamesAndAutoFlip) {
    window->runCommand(cmd::EnginePlaysWhite);
    EXPECT_EQ(searchInfo.humanSide.load(), HumanBlack);
    EXPECT_EQ(labelText(*window, 114), "Corvid");
    EXPECT_EQ(labelText(*window, 115), "Human");
    EXPECT_TRUE(window->state().flipped);
    EXPECT_TRUE(window->action(cmd::EnginePlaysWhite)->isChecked());
    EXPECT_FALSE(window->action(cmd::EnginePlaysBlack)->isChecked());
    ASSERT_TRUE(waitForPly(1)); // the engine moved as white
    window->runCommand(cmd::TwoPlayer);
    EXPECT_EQ(labelText(*window, 114), "Human");
    EXPECT_EQ(labelText(*window, 115), "Human");
    EXPECT_TRUE(window->state().flipped); // neither side's view is preferred
    window->runCommand(cmd::AutoFlip);    // off
    window->runCommand(cmd::EnginePlaysBlack);
    EXPECT_TRUE(window->state().flipped);
    EXPECT_EQ(labelText(*window, 115), "Corvid");
}

TEST_F(WindowTest, NewGameResetsTheWindow) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    click(e2);
    click(e4);
    ASSERT_TRUE(waitFor([&] { return window->state().game.ply == 1; }));
    click(e7);
    window->runCommand(cmd::SetupBoard);
    EXPECT_TRUE(window->state().setupMode);
    EXPECT_TRUE(window->action(cmd::SetupBoard)->isChecked());
    window->runCommand(cmd::NewGame);
    ASSERT_TRUE(waitForPly(0));
    EXPECT_FALSE(window->state().setupMode);
    EXPECT_EQ(window->state().selectedSquare, NothingSelected);
    EXPECT_EQ(window->state().boardMode, PlayMode);
    EXPECT_EQ(window->sidePanel()->moveList()->count(), 0);
    EXPECT_TRUE(waitFor([&] { return labelText(*window, 122) == "The Game Begins.."; }));
}

TEST_F(WindowTest, SetupModeEditsItsOwnBoardWithMouseAndKeys) {
    window->runCommand(cmd::SetupBoard);
    ASSERT_TRUE(window->state().setupMode);
    // The set-up panel shows the status texts while it is open.
    auto* panel = window->findChild<QWidget*>("BOARDSET");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(waitFor([&] {
        return panel->findChild<QLabel*>(controlName(122))->text().startsWith("Board Setup Mode");
    }));
    EXPECT_EQ(window->state().setupButton, DefaultSetupPiece);
    QTest::keyClick(window->boardView(), Qt::Key_W); // white knight
    QTest::keyClick(window->boardView(), Qt::Key_D); // black knight
    EXPECT_EQ(window->state().setupButton, 140);
    click(e4);
    EXPECT_EQ(window->state().setupBoard[e4], MakePiece(Black, Knight));
    QTest::mouseClick(window->boardView(), Qt::RightButton, {}, cellCentre(e2));
    EXPECT_EQ(window->state().setupBoard[e2], Empty);
    // Outside the board nothing is addressed.
    QTest::mouseClick(window->boardView(), Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_EQ(gamePosition.board[e2], MakePiece(White, Pawn)); // the game is untouched
    QTest::keyClick(window->boardView(), Qt::Key_S);           // a piece shortcut here
    EXPECT_TRUE(window->state().setupMode);
    window->runCommand(cmd::SetupBoard);
    EXPECT_FALSE(window->state().setupMode);
}

TEST_F(WindowTest, EveryShortcutReachesItsCommand) {
    std::vector<int> reached;
    const char keys[] = "123456AZCVEFHKLQTX";
    for (const char* k = keys; *k; ++k)
        for (bool control : {false, true}) {
            int id = commandForKey(*k, control);
            window->dispatcher().on(id, [&reached](int got) { reached.push_back(got); });
        }
    std::vector<int> expected;
    for (const char* k = keys; *k; ++k)
        for (bool control : {false, true}) {
            Qt::Key key = Qt::Key(*k >= 'A' ? Qt::Key_A + (*k - 'A') : Qt::Key_0 + (*k - '0'));
            QTest::keyClick(window->boardView(), key,
                            control ? Qt::ControlModifier : Qt::NoModifier);
            expected.push_back(commandForKey(*k, control));
        }
    EXPECT_EQ(reached, expected);
    QTest::keyClick(window->boardView(), Qt::Key_S); // S toggles set-up mode in play
    EXPECT_TRUE(window->state().setupMode);
}

TEST_F(WindowTest, FlagFallEndsTheGameOnceAndStopsThePonderSearch) {
    searchInfo.ponderEnabled.store(true);
    searchInfo.maxDepth.store(52);
    searchInfo.fixedMoveSeconds.store(0.2);
    click(e2);
    click(e4);
    ASSERT_TRUE(waitFor([] { return searchInfo.searchState.load() == SearchState::Pondering; }));
    // White's clock has run far past a 6-second game.
    searchInfo.baseMinutes.store(0.1);
    searchInfo.incrementSeconds.store(0);
    searchInfo.clockStart.store(millisecondClock() - 60000);
    ASSERT_TRUE(waitFor([&] { return beeps > 0; }, 2000));
    EXPECT_EQ(searchInfo.gameResult.load(), GameBlackWon);
    EXPECT_EQ(labelText(*window, 122), "Result 0-1\n(White loses on time.)");
    EXPECT_TRUE(searchController.idle());
    QTest::qWait(500);
    EXPECT_EQ(beeps, 1);
}

TEST_F(WindowTest, TheSideToMovesClockIsHighlighted) {
    auto* white = window->findChild<QLabel*>(controlName(112));
    auto* black = window->findChild<QLabel*>(controlName(113));
    ASSERT_TRUE(white && black);
    EXPECT_EQ(white->text(), "5:00");
    EXPECT_EQ(white->styleSheet().indexOf("highlight"), -1); // clocks stand before the game
    click(e2);
    click(e4);
    ASSERT_TRUE(waitForPly(2));
    window->refresh();
    EXPECT_NE(white->styleSheet().indexOf("highlight"), -1);
    EXPECT_EQ(black->styleSheet().indexOf("highlight"), -1);
}

TEST_F(WindowTest, MoveListNavigationStaysInsideTheRecord) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    click(e2);
    click(e4);
    click(e7);
    click(e5);
    ASSERT_TRUE(waitFor([&] { return window->state().game.ply == 2; }));
    screenshot("after_e4_e5");
    window->runCommand(cmd::StepBack);
    ASSERT_TRUE(waitFor([&] { return window->state().game.ply == 1; }));
    EXPECT_EQ(window->sidePanel()->moveList()->count(), 1); // the record keeps both moves
    window->runCommand(cmd::GoToEnd);
    ASSERT_TRUE(waitFor([&] { return window->state().game.ply == 2; }));
    goToMoveListEntry(window->state(), 57);
    EXPECT_EQ(gamePosition.ply, 2);
    goToPly(window->state(), -8);
    EXPECT_EQ(gamePosition.ply, 0);
    window->runCommand(cmd::StepForward);
    EXPECT_EQ(gamePosition.ply, 1);
}

namespace {

// Every control of a panel lies inside it, has its minimum height and is not drawn over another.
void expectControlsApart(QWidget* panel, const std::string& where) {
    std::vector<QWidget*> controls;
    for (QWidget* control : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->isVisible()) controls.push_back(control);
    auto name = [](QWidget* control) {
        auto* label = qobject_cast<QLabel*>(control);
        return (control->objectName() + " " + (label ? label->text().left(12) : "")).toStdString();
    };
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(panel->rect().contains(controls[i]->geometry()))
            << where << ": " << name(controls[i]) << " leaves the panel";
        EXPECT_GE(controls[i]->height(), QWidgetItem(controls[i]).minimumSize().height())
            << where << ": " << name(controls[i]) << " is squeezed";
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << where << ": " << name(controls[i]) << " over " << name(controls[j]);
    }
}

} // namespace

TEST_F(WindowTest, ScreenshotsAtEverySize) {
    screenshot("start_position");
    for (QSize size : {QSize(420, 320), QSize(1600, 1000), QSize(120, 80)}) {
        window->resize(size);
        QApplication::processEvents();
        const std::string name =
            "window_" + std::to_string(size.width()) + "x" + std::to_string(size.height());
        const WindowLayout& layout = window->state().layout;
        EXPECT_GE(layout.squareSize, MinSquareSize);
        EXPECT_GE(layout.boardLeft, 0);
        expectControlsApart(window->sidePanel(), name);
        if (size.width() >= 420) screenshot(name);
    }
    EXPECT_GE(window->centralWidget()->width(), minimumClientWidth());
    // Status texts about as tall as the rows above them, and far taller, stay in their box.
    for (int sentences : {2, 3, 4, 12}) {
        window->setStatusText(
            QString("Searched: the working folder and the program's. ").repeated(sentences));
        QApplication::processEvents();
        expectControlsApart(window->sidePanel(), "smallest with a status of " +
                                                     std::to_string(sentences) + " sentences");
    }
    screenshot("window_smallest");
    // The smallest window with the analysis pane open, and in board set-up.
    auto smallest = [&] {
        QApplication::processEvents(); // the window's new minimum size
        window->resize(120, 80);
        QApplication::processEvents();
    };
    window->runCommand(cmd::AnalysisWindow);
    smallest();
    expectControlsApart(window->sidePanel(), "smallest with the analysis pane");
    screenshot("window_smallest_analysis");
    window->runCommand(cmd::AnalysisWindow);
    window->runCommand(cmd::SetupBoard);
    smallest();
    auto* setup = window->findChild<QWidget*>("BOARDSET");
    ASSERT_NE(setup, nullptr);
    expectControlsApart(setup, "smallest in set-up");
    screenshot("window_smallest_setup");
}

} // namespace corvid::test

namespace corvid::test {

TEST_F(WindowTest, RetractAndMoveButtons) {
    click(52); // e2-e4, the engine answers
    click(36);
    ASSERT_TRUE(waitForPly(2));
    QTest::mouseClick(window->findChild<QPushButton*>(controlName(cmd::Retract)), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return window->state().game.ply == 0; })); // both moves back
    EXPECT_EQ(gamePosition.sideToMove, White);
    // "Move": the engine takes white and plays at once.
    QTest::mouseClick(window->findChild<QPushButton*>(controlName(cmd::EngineMoveNow)),
                      Qt::LeftButton);
    EXPECT_EQ(searchInfo.humanSide.load(), HumanBlack);
    ASSERT_TRUE(waitForPly(1));
    EXPECT_EQ(window->findChild<QLabel*>(controlName(114))->text(), "Corvid");
}

} // namespace corvid::test

namespace corvid::test {

TEST_F(WindowTest, DisplayPreferencesHaveCheckMarks) {
    for (int id : {cmd::ShowCoordinates, cmd::ShowLegalMoves, cmd::HighlightLastMove}) {
        QAction* item = window->action(id);
        ASSERT_NE(item, nullptr);
        const bool before = item->isChecked();
        EXPECT_TRUE(before) << id; // on by default
        window->runCommand(id);
        EXPECT_NE(item->isChecked(), before) << id;
        window->runCommand(id);
        EXPECT_EQ(item->isChecked(), before) << id;
    }
}

TEST_F(WindowTest, SearchThreadsItemsSetTheCountForTheNextSearch) {
    ASSERT_NE(window->action(cmd::FirstThreadsItem), nullptr);
    EXPECT_TRUE(window->action(cmd::FirstThreadsItem)->isChecked()); // one thread by default
    window->runCommand(cmd::FirstThreadsItem + 2);
    EXPECT_EQ(searchThreads(), 4);
    EXPECT_EQ(GuiSettings.get(SearchThreadsKey), "4");
    for (int id = cmd::FirstThreadsItem; id <= cmd::LastThreadsItem; ++id)
        EXPECT_EQ(window->action(id)->isChecked(), id == cmd::FirstThreadsItem + 2) << id;
    window->runCommand(cmd::FirstThreadsItem);
    EXPECT_EQ(searchThreads(), 1);
    EXPECT_TRUE(window->action(cmd::FirstThreadsItem)->isChecked());
}

TEST(PieceImages, DrawnSharpForTheScreensDensity) {
    PieceImages images;
    images.prepare(40, 2.0);
    const QPixmap* knight = images.image(MakePiece(Black, Knight) + 16);
    ASSERT_NE(knight, nullptr);
    EXPECT_EQ(knight->width(), 80); // device pixels
    EXPECT_DOUBLE_EQ(knight->devicePixelRatio(), 2.0);
    EXPECT_EQ(images.image(7), nullptr);
    // Every piece differs from the empty square and from the other pieces.
    QImage empty = images.image(6)->toImage();
    for (int type = 0; type < 6; ++type)
        for (int colour = 0; colour < 2; ++colour) {
            QImage piece = images.image(colour * 8 + type)->toImage();
            EXPECT_NE(piece, empty) << type;
            if (type > 0) {
                EXPECT_NE(piece, images.image(colour * 8 + type - 1)->toImage());
            }
        }
}

} // namespace corvid::test
