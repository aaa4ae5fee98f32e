#include "gui/logic/game_preferences_dialog.h"

namespace corvid {

namespace {
constexpr const char* DrawOffersKey = "DrawOffers";
constexpr const char* ResignKey = "Resign";
constexpr const char* LogGamesKey = "LogGames";
constexpr const char* BookEnabledKey = "BookEnabled";
} // namespace

GamePreferencesDialog::GamePreferencesDialog(bool winboard)
    : map_(winboard ? WinBoardSettings : GuiSettings), winboard_(winboard) {}

const char* GamePreferencesDialog::title() const {
    return winboard_ ? "Winboard Game Preferences" : "GUI Game Preferences";
}

DialogValues GamePreferencesDialog::open() {
    DialogValues values;
    values.checks[gameprefs::DrawOffers] = readBool(map_, DrawOffersKey);
    values.checks[gameprefs::Resign] = readBool(map_, ResignKey);
    if (winboard_) values.checks[gameprefs::LogGames] = readBool(map_, LogGamesKey);
    values.checks[gameprefs::UseBook] = readBool(map_, BookEnabledKey);
    pendingPath_ = bookPath(map_);
    values.texts[gameprefs::BookFile] = pendingPath_;
    return values;
}

std::string GamePreferencesDialog::chooseBook(DialogServices& dialogs) {
    std::string chosen = dialogs.openFileName("Open", "", gameprefs::BookFilter);
    pendingPath_ = chosen.empty() ? bookPath(map_) : chosen;
    return pendingPath_;
}

void GamePreferencesDialog::close(const DialogValues& values, bool ok) {
    if (ok) {
        setBool(map_, DrawOffersKey, values.checked(gameprefs::DrawOffers));
        setBool(map_, ResignKey, values.checked(gameprefs::Resign));
        setBool(map_, LogGamesKey, winboard_ && values.checked(gameprefs::LogGames));
        setBool(map_, BookEnabledKey, values.checked(gameprefs::UseBook));
        setBookPath(map_, pendingPath_);
    }
    if (winboard_) return;
    const std::string bookInUse = bookPath(ActiveSettings);
    copySettings(GuiSettings, ActiveSettings);
    setBookPath(ActiveSettings, bookInUse);
}

} // namespace corvid
