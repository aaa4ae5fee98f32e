// The preference dialogs' models: what they show, their checks and messages, what OK and
// Cancel store, and that the stored values come back after a restart through the files.
#include "control/preferences.h"
#include "control/settings.h"
#include "gui/logic/desktop.h"
#include "gui/logic/game_preferences_dialog.h"
#include "gui/logic/player_dialog.h"
#include "gui/logic/search_settings_dialog.h"
#include "gui/logic/time_dialog.h"
#include "gui/logic/windows_colour.h"
#include "gui/scripted_dialog_services.h"
#include "search/search_info.h"
#include "startup/start_up_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace corvid {
namespace {

void restoreDefaults() {
    preferences = Preferences{};
    searchInfo.maxDepth.store(52);
    searchInfo.maxNodes.store(0);
    searchInfo.fixedMoveSeconds.store(0);
    searchInfo.baseMinutes.store(5);
    searchInfo.incrementSeconds.store(5);
    searchInfo.humanSide.store(HumanWhite);
    SettingsMap defaults;
    for (SettingsMap* map : {&WinBoardSettings, &GuiSettings, &ActiveSettings})
        map->assign(defaults.entries());
}

class DialogModels : public ::testing::Test {
protected:
    void SetUp() override { restoreDefaults(); }
    void TearDown() override { restoreDefaults(); }
    test::ScriptedDialogServices dialogs;
    WindowState state;
};

TEST(DialogFields, ReadNumbersAndRefuseAnythingElse) {
    EXPECT_EQ(readUnsignedField(" 45 "), 45u);
    EXPECT_EQ(readUnsignedField("99999999999999"), 4294967295u); // saturates, never wraps
    for (const char* text : {"", "  ", "abc", "12a", "-5", "+5", "1 2", "0x10"})
        EXPECT_FALSE(readUnsignedField(text)) << text;
    EXPECT_EQ(readSignedField("-5"), -5);
    EXPECT_EQ(readSignedField("+7"), 7);
    EXPECT_EQ(readSignedField("-99999999999"), INT32_MIN);
    EXPECT_EQ(readSignedField("99999999999"), INT32_MAX);
    EXPECT_FALSE(readSignedField("-"));
}

TEST_F(DialogModels, TimeDialogStoresOnOkAndCancelKeepsAllButTheIntegerPreferences) {
    searchInfo.baseMinutes.store(2.75);
    searchInfo.incrementSeconds.store(3.5);
    DialogValues values = openTimeDialog();
    EXPECT_EQ(values.text(timeset::TotalMinutes), "2");
    EXPECT_EQ(values.text(timeset::SecondsPerMove), "3");

    values.texts[timeset::TotalMinutes] = "40";
    closeTimeDialog(values, false, dialogs);
    EXPECT_EQ(searchInfo.baseMinutes.load(), 2.75);
    EXPECT_EQ(searchInfo.incrementSeconds.load(), 3.5);
    EXPECT_EQ(preferences.baseMinutes, 2); // Cancel too keeps the truncated time control
    EXPECT_EQ(preferences.incrementSeconds, 3);

    values.texts[timeset::SecondsPerMove] = "three";
    closeTimeDialog(values, true, dialogs);
    EXPECT_EQ(searchInfo.baseMinutes.load(), 40);
    EXPECT_EQ(searchInfo.incrementSeconds.load(), 3.5); // not a number: unchanged, and said
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Not a Number|Seconds/move \"three\" is not a whole number; "
                                   "it stays 3.");
    EXPECT_EQ(preferences.baseMinutes, 40);

    values.texts[timeset::TotalMinutes] = "4000000000";
    values.texts[timeset::SecondsPerMove] = "4";
    closeTimeDialog(values, true, dialogs);
    EXPECT_EQ(searchInfo.baseMinutes.load(), timeset::MaxValue);
    EXPECT_EQ(dialogs.messages.back(), "Out of Range|Total Minutes set to 99999");
}

TEST_F(DialogModels, SearchSettingsLimitsAndTheirMessages) {
    searchInfo.maxNodes.store(7000);
    DialogValues values = openSearchSettings();
    EXPECT_EQ(values.text(searchset::MaximumPly), "52");
    EXPECT_EQ(values.text(searchset::MaxKiloNodes), "7");
    EXPECT_EQ(values.text(searchset::MaxSeconds), "0");
    EXPECT_FALSE(values.checked(searchset::WaitAtLimit));

    values.texts[searchset::MaximumPly] = "0";
    values.texts[searchset::MaxSeconds] = "-3";
    values.texts[searchset::MaxKiloNodes] = "5";
    values.checks[searchset::WaitAtLimit] = true;
    closeSearchSettings(values, true, dialogs, state);
    EXPECT_EQ(searchInfo.maxDepth.load(), 1);
    EXPECT_EQ(searchInfo.fixedMoveSeconds.load(), 0);
    EXPECT_EQ(searchInfo.maxNodes.load(), 5000);
    EXPECT_EQ(preferences.waitAtLimit, 1);
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Out of Range|Seconds set to 0",
                                                          "Out of Range|Max ply set to 1"}));

    dialogs.messages.clear();
    values.texts[searchset::MaximumPly] = "40"; // above the hint's 32: kept
    values.texts[searchset::MaxSeconds] = "12";
    values.texts[searchset::MaxKiloNodes] = "4294967295"; // the node limit needs 64 bits
    closeSearchSettings(values, true, dialogs, state);
    EXPECT_EQ(searchInfo.maxDepth.load(), 40);
    EXPECT_EQ(searchInfo.fixedMoveSeconds.load(), 12);
    EXPECT_EQ(searchInfo.maxNodes.load(), 4294967295000LL);
    EXPECT_TRUE(dialogs.messages.empty());

    values.texts[searchset::MaximumPly] = "deep";
    values.texts[searchset::MaxKiloNodes] = "-1";
    closeSearchSettings(values, true, dialogs, state);
    EXPECT_EQ(searchInfo.maxDepth.load(), 40);
    EXPECT_EQ(searchInfo.maxNodes.load(), 4294967295000LL);
    EXPECT_EQ(dialogs.messages.size(), 2u);

    values.texts[searchset::MaximumPly] = "2147483647"; // far beyond the search's reach
    closeSearchSettings(values, true, dialogs, state);
    EXPECT_GT(searchInfo.maxDepth.load(), 200);
    EXPECT_LT(searchInfo.maxDepth.load(), 1000);
}

TEST_F(DialogModels, UserDefinedLevelIsCheckedAfterTheDialog) {
    searchInfo.maxDepth.store(3);
    EXPECT_TRUE(commandChecked(153, state));
    EXPECT_FALSE(commandChecked(312, state));
    DialogValues values = openSearchSettings();
    closeSearchSettings(values, false, dialogs, state); // Cancel checks it too
    EXPECT_TRUE(commandChecked(312, state));
    EXPECT_FALSE(commandChecked(153, state));
    EXPECT_EQ(searchInfo.maxDepth.load(), 3);
}

TEST_F(DialogModels, PlayerNameIsOneLineOfAtMost38BytesAndShowsOverTheClock) {
    EXPECT_EQ(openPlayerDialog().text(player::Name), "Human");
    DialogValues values;
    values.texts[player::Name] = "Ann\nLee";
    closePlayerDialog(values, false, state);
    EXPECT_STREQ(preferences.playerName, "Human");
    closePlayerDialog(values, true, state);
    EXPECT_STREQ(preferences.playerName, "Ann Lee");
    EXPECT_EQ(state.whiteName, "Ann Lee");
    EXPECT_EQ(state.blackName, "Corvid");
    // 37 letters and a two-byte letter: the letter does not fit and is not cut in half.
    values.texts[player::Name] = std::string(37, 'a') + "\xC3\xA9" + "zz";
    closePlayerDialog(values, true, state);
    EXPECT_EQ(std::string(preferences.playerName), std::string(37, 'a'));
    values.texts[player::Name] = std::string(50, 'b');
    closePlayerDialog(values, true, state);
    EXPECT_EQ(std::strlen(preferences.playerName), 38u);
}

TEST_F(DialogModels, GamePreferencesStoreOneAndZeroAndTheBookPath) {
    setBool(WinBoardSettings, "Resign", false);
    WinBoardSettings.set("DrawOffers", "true");
    GamePreferencesDialog winboard(true);
    EXPECT_STREQ(winboard.resourceName(), "WINBOARD");
    DialogValues values = winboard.open();
    EXPECT_TRUE(values.checked(gameprefs::DrawOffers));
    EXPECT_FALSE(values.checked(gameprefs::Resign));
    EXPECT_TRUE(values.checked(gameprefs::LogGames));
    EXPECT_EQ(values.text(gameprefs::BookFile), "openingBook\\TestBook.obk");

    dialogs.files = {"/books/wide.obk", ""};
    EXPECT_EQ(winboard.chooseBook(dialogs), "/books/wide.obk");
    EXPECT_EQ(dialogs.pickers.back(), "open|Opening Book (*.obk)|");
    EXPECT_EQ(winboard.chooseBook(dialogs), "openingBook\\TestBook.obk"); // cancelled: reset
    EXPECT_EQ(winboard.chooseBook(dialogs), "openingBook\\TestBook.obk");
    dialogs.files = {"/books/narrow.obk"};
    winboard.chooseBook(dialogs);
    values.checks[gameprefs::LogGames] = false;
    winboard.close(values, false);
    EXPECT_EQ(bookPath(WinBoardSettings), "openingBook\\TestBook.obk");
    EXPECT_EQ(WinBoardSettings.get("DrawOffers"), "true");
    winboard.close(values, true);
    EXPECT_EQ(WinBoardSettings.get("DrawOffers"), "1");
    EXPECT_EQ(WinBoardSettings.get("Resign"), "0");
    EXPECT_EQ(WinBoardSettings.get("LogGames"), "0");
    EXPECT_EQ(WinBoardSettings.get("BookEnabled"), "1");
    EXPECT_EQ(bookPath(WinBoardSettings), "/books/narrow.obk");
    EXPECT_EQ(GuiSettings.get("LogGames"), "1"); // the other map is untouched

    // The desktop's dialog: no game log box (stored as "0"); the engine's settings follow,
    // except the book in use.
    GamePreferencesDialog gui(false);
    values = gui.open();
    EXPECT_EQ(values.checks.count(gameprefs::LogGames), 0u);
    values.checks[gameprefs::UseBook] = false;
    dialogs.files = {"/books/gui.obk"};
    gui.chooseBook(dialogs);
    gui.close(values, true);
    EXPECT_EQ(GuiSettings.get("LogGames"), "0");
    EXPECT_EQ(GuiSettings.get("BookEnabled"), "0");
    EXPECT_EQ(bookPath(GuiSettings), "/books/gui.obk");
    EXPECT_EQ(ActiveSettings.get("BookEnabled"), "0");
    EXPECT_EQ(bookPath(ActiveSettings), "openingBook\\TestBook.obk");
}

TEST_F(DialogModels, WhatTheDialogsStoreIsReadBackAfterARestart) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("corvid_dialogs_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    DialogValues values;
    values.texts[player::Name] = "Ann \"Rook\" Lee";
    closePlayerDialog(values, true, state);
    values = openTimeDialog();
    values.texts[timeset::TotalMinutes] = "15";
    values.texts[timeset::SecondsPerMove] = "10";
    closeTimeDialog(values, true, dialogs);
    values = openSearchSettings();
    values.checks[searchset::WaitAtLimit] = true;
    closeSearchSettings(values, true, dialogs, state);
    GamePreferencesDialog winboard(true), gui(false);
    values = winboard.open();
    values.checks[gameprefs::Resign] = false;
    values.checks[gameprefs::LogGames] = false;
    dialogs.files = {"books/mine.obk"};
    winboard.chooseBook(dialogs);
    winboard.close(values, true);
    values = gui.open();
    values.checks[gameprefs::DrawOffers] = false;
    gui.close(values, true);
    ASSERT_TRUE(saveDesktopSettings()); // what the exit writes

    restoreDefaults(); // a new start of the program
    loadStartUpSettings(false);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);

    EXPECT_STREQ(preferences.playerName, "Ann \"Rook\" Lee");
    EXPECT_EQ(openTimeDialog().text(timeset::TotalMinutes), "15");
    EXPECT_EQ(openTimeDialog().text(timeset::SecondsPerMove), "10");
    EXPECT_TRUE(openSearchSettings().checked(searchset::WaitAtLimit));
    values = GamePreferencesDialog(true).open();
    EXPECT_FALSE(values.checked(gameprefs::Resign));
    EXPECT_FALSE(values.checked(gameprefs::LogGames));
    EXPECT_TRUE(values.checked(gameprefs::DrawOffers));
    EXPECT_EQ(values.text(gameprefs::BookFile), "books/mine.obk");
    values = GamePreferencesDialog(false).open();
    EXPECT_FALSE(values.checked(gameprefs::DrawOffers));
    EXPECT_TRUE(values.checked(gameprefs::Resign));
    EXPECT_FALSE(readBool(ActiveSettings, "DrawOffers")); // the desktop plays by its settings
}

TEST(WindowsColours, AreTurnedFromBlueGreenRedIntoRgb) {
    EXPECT_EQ(rgbFromWindowsColour(0x0099CCCC), 0xCCCC99u);
    EXPECT_EQ(PressedToggleColour, 0xCCCC99u); // red 204, green 204, blue 153
    EXPECT_EQ(bookMoveColour(0), 0x00DD00u);
    EXPECT_EQ(bookMoveColour(1), 0x0000DDu); // Windows 0xDD0000 is blue
    EXPECT_EQ(bookMoveColour(2), 0xDD0000u);
    EXPECT_EQ(bookMoveColour(3), 0x00DDDDu);
    EXPECT_EQ(bookMoveColour(5), 0xDDDD00u);
    EXPECT_EQ(bookMoveColour(9), bookMoveColour(1)); // beyond the table it wraps
}

} // namespace
} // namespace corvid
