// Each dialog through its real widgets: what it shows, what its controls do and what OK
// stores, with a screenshot of each; and the menu commands that open them.
#include "dialog_window_test.h"

#include "book/opening_book.h"
#include "control/preferences.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "gui/logic/book_editor.h"
#include "gui/logic/command_ids.h"
#include "gui/qt/dialogs.h"
#include "gui/qt/promotion_dialog.h"
#include "gui/qt/side_panel.h"
#include "search/search_info.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <fstream>

namespace corvid::test {

namespace {

void restoreSettings() {
    SettingsMap defaults;
    for (SettingsMap* map : {&WinBoardSettings, &GuiSettings, &ActiveSettings})
        map->assign(defaults.entries());
    setBookPath(ActiveSettings, "no-book-in-tests.obk");
}

} // namespace

TEST_F(DialogWindowTest, TimeDialog) {
    auto dialog = buildTimeDialog(*window);
    dialog->show();
    EXPECT_EQ(dialog->objectName(), "TimeSet");
    EXPECT_EQ(dialog->windowTitle(), "Game Time");
    EXPECT_EQ(text(dialog.get(), 100), "5");
    shoot(dialog.get(), "dialog_timeset");
    control<QLineEdit>(dialog.get(), 100)->setText("12");
    control<QLineEdit>(dialog.get(), 101)->setText("7");
    press(dialog.get(), 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(searchInfo.baseMinutes.load(), 12);
    EXPECT_EQ(searchInfo.incrementSeconds.load(), 7);
    EXPECT_EQ(preferences.baseMinutes, 12);
    window->refresh();
    EXPECT_EQ(text(window.get(), 112), "12:00"); // the clocks show the new allowance
}

TEST_F(DialogWindowTest, SearchSettingsDialog) {
    searchInfo.maxDepth.store(52);
    auto dialog = buildSearchSettingsDialog(*window);
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), "Search Settings");
    EXPECT_EQ(text(dialog.get(), 100), "52");
    EXPECT_NE(dialog->findChild<QLabel*>(), nullptr);
    shoot(dialog.get(), "dialog_searchset");
    control<QLineEdit>(dialog.get(), 100)->setText("0");
    control<QLineEdit>(dialog.get(), 105)->setText("5");
    control<QCheckBox>(dialog.get(), 110)->setChecked(true);
    press(dialog.get(), 1);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Out of Range|Max ply set to 1"});
    EXPECT_EQ(searchInfo.maxDepth.load(), 1);
    EXPECT_EQ(searchInfo.maxNodes.load(), 5000);
    EXPECT_EQ(preferences.waitAtLimit, 1);
    window->refresh();
    EXPECT_TRUE(window->action(cmd::UserDefinedLevel)->isChecked());
    EXPECT_FALSE(window->action(151)->isChecked());
    searchInfo.maxDepth.store(3);
    searchInfo.maxNodes.store(0);
}

TEST_F(DialogWindowTest, PlayerDialog) {
    auto dialog = buildPlayerDialog(*window);
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), "Player Information");
    EXPECT_EQ(text(dialog.get(), 100), "Human");
    control<QLineEdit>(dialog.get(), 100)->setText("Ann \"Rook\" Lee");
    shoot(dialog.get(), "dialog_player");
    press(dialog.get(), 2); // Cancel
    EXPECT_STREQ(preferences.playerName, "Human");
    dialog = buildPlayerDialog(*window);
    control<QLineEdit>(dialog.get(), 100)->setText("Ann \"Rook\" Lee");
    press(dialog.get(), 1);
    EXPECT_STREQ(preferences.playerName, "Ann \"Rook\" Lee");
    window->refresh();
    EXPECT_EQ(text(window.get(), 114), "Ann \"Rook\" Lee");
}

TEST_F(DialogWindowTest, WinboardAndGuiGamePreferences) {
    auto dialog = buildGamePreferencesDialog(*window, true);
    dialog->show();
    EXPECT_EQ(dialog->objectName(), "WINBOARD");
    EXPECT_EQ(dialog->windowTitle(), "Winboard Game Preferences");
    EXPECT_EQ(text(dialog.get(), 1043), "openingBook\\TestBook.obk");
    EXPECT_EQ(text(dialog.get(), 1042), "Not Implemented Yet");
    EXPECT_TRUE(control<QCheckBox>(dialog.get(), 1040)->isChecked());
    shoot(dialog.get(), "dialog_winboard");
    dialogs.files = {"/books/other.obk"};
    press(dialog.get(), 1043);
    EXPECT_EQ(text(dialog.get(), 1043), "/books/other.obk");
    press(dialog.get(), 1042); // does nothing
    control<QCheckBox>(dialog.get(), 1038)->setChecked(false);
    press(dialog.get(), 1);
    EXPECT_EQ(WinBoardSettings.get("Resign"), "0");
    EXPECT_EQ(bookPath(WinBoardSettings), "/books/other.obk");

    dialog = buildGamePreferencesDialog(*window, false);
    dialog->show();
    EXPECT_EQ(dialog->objectName(), "GUIGAME");
    EXPECT_EQ(dialog->windowTitle(), "GUI Game Preferences");
    EXPECT_EQ(control<QCheckBox>(dialog.get(), 1040), nullptr);
    shoot(dialog.get(), "dialog_guigame");
    control<QCheckBox>(dialog.get(), 1039)->setChecked(false);
    press(dialog.get(), 1);
    EXPECT_EQ(GuiSettings.get("DrawOffers"), "0");
    EXPECT_EQ(GuiSettings.get("LogGames"), "0");
    EXPECT_EQ(ActiveSettings.get("DrawOffers"), "0");
    EXPECT_EQ(bookPath(ActiveSettings), "no-book-in-tests.obk"); // the book in use stays
    restoreSettings();
}

TEST_F(DialogWindowTest, BookEditor) {
    BookNew(currentBook());
    bookEditorParameters() = BookBuildParameters{};
    const std::string folder = std::string(CORVID_BINARY_DIR) + "/screenshots";
    const std::string pgn = folder + "/book_editor_test.pgn";
    std::ofstream(pgn) << "[Result \"1/2-1/2\"]\n\n1. d4 d5 2. c4 e6 1/2-1/2\n";
    // The search reads the book without a lock: the editor waits until it has stopped.
    searchInfo.maxDepth.store(52);
    searchInfo.fixedMoveSeconds.store(20);
    window->runCommand(cmd::EnginePlaysWhite);
    ASSERT_TRUE(waitFor([] { return searchInfo.searchState.load() == SearchState::Thinking; }));
    auto dialog = buildBookEditor(*window);
    EXPECT_TRUE(searchController.idle());
    dialog->show();
    EXPECT_EQ(dialog->objectName(), "BOOK");
    EXPECT_EQ(dialog->windowTitle(), "Opening Book Editor");
    EXPECT_EQ(text(dialog.get(), 180), "# of Positions in Book: 0 ");
    EXPECT_EQ(text(dialog.get(), 182), "(200000 free)");
    EXPECT_EQ(text(dialog.get(), 181), "no-book-in-tests.obk");
    type(dialog.get(), 1017, "45");
    EXPECT_EQ(text(dialog.get(), 1017), "30");
    EXPECT_EQ(bookEditorParameters().fromMove, 30);
    type(dialog.get(), 1017, "1");
    control<QCheckBox>(dialog.get(), 1009)->setChecked(true);
    EXPECT_EQ(bookEditorParameters().sides, 7);

    dialogs.files = {pgn};
    press(dialog.get(), 1004);
    EXPECT_EQ(currentBook().positions, 4);
    EXPECT_EQ(text(dialog.get(), 180), "# of Positions in Book: 4");
    // The book's messages show on the editor's own status line while it is open.
    EXPECT_TRUE(waitFor([&] { return text(dialog.get(), 122) == "Finished Adding .PGN"; }));
    shoot(dialog.get(), "dialog_book");

    dialogs.answers = {true};
    press(dialog.get(), 1011);
    EXPECT_EQ(currentBook().positions, 0);
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(waitFor([&] { return text(dialog.get(), 122) == "Book Cleared"; }));
    press(dialog.get(), 1015);
    EXPECT_FALSE(dialog->isVisible());
    dialog.reset();
    window->setStatusText("back on the side panel");
    EXPECT_EQ(text(window->sidePanel(), 122), "back on the side panel");
    std::remove(pgn.c_str());
}

TEST_F(DialogWindowTest, PromotionDialog) {
    auto dialog = buildPromotionDialog(window.get(), Black);
    dialog->show();
    EXPECT_EQ(dialog->objectName(), "PAWN");
    EXPECT_EQ(text(dialog.get(), 100), "Queen");
    EXPECT_EQ(text(dialog.get(), 103), "Knight");
    shoot(dialog.get(), "dialog_pawn");
    press(dialog.get(), 102);
    EXPECT_EQ(dialog->result(), Bishop);
    dialog = buildPromotionDialog(window.get(), White);
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QTest::keyClick(dialog.get(), Qt::Key_N);
    EXPECT_EQ(dialog->result(), Knight);
}

TEST_F(DialogWindowTest, TheMenuCommandsOpenTheirDialogs) {
    const std::pair<int, const char*> commands[] = {
        {cmd::SetTimeControl, "TimeSet"},  {cmd::UserDefinedLevel, "SearchSet"},
        {cmd::PlayerInfo, "PLAYER"},       {cmd::WinboardSettings, "WINBOARD"},
        {cmd::DefaultSettings, "GUIGAME"}, {cmd::BookEdit, "BOOK"},
    };
    for (const auto& [id, name] : commands) {
        QString opened;
        QTimer::singleShot(0, [&opened] {
            QWidget* modal = QApplication::activeModalWidget();
            opened = modal ? modal->objectName() : "none";
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
        window->action(id)->trigger();
        EXPECT_EQ(opened, name) << id;
    }
    restoreSettings();
}

} // namespace corvid::test
