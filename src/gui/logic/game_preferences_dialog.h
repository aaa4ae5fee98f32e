// "WINBOARD" ("Winboard Game Preferences") and "GUIGAME" ("GUI Game Preferences"): draw offers,
// resignation, game logging, book use and the book file of the protocol modes' settings or of
// the desktop's.
#pragma once

#include "control/settings.h"
#include "gui/logic/dialog_fields.h"

#include <string>

namespace corvid {

namespace gameprefs {
constexpr int Resign = 1038, DrawOffers = 1039, LogGames = 1040, UseBook = 1041;
constexpr int Personality = 1042, BookFile = 1043;
constexpr const char* BookFilter = "Opening Book (*.obk)";
} // namespace gameprefs

class GamePreferencesDialog {
public:
    // winboard: the protocol modes' settings (with the game log box); else the desktop's.
    explicit GamePreferencesDialog(bool winboard);

    const char* resourceName() const { return winboard_ ? "WINBOARD" : "GUIGAME"; }
    const char* title() const;
    bool hasLogGames() const { return winboard_; }

    // The boxes from the settings, and the book file (which becomes the pending path) on
    // button 1043.
    DialogValues open();
    // Button 1043: a chosen book becomes the pending path; a cancelled picker resets it to the
    // stored one. Returns the button's new caption.
    std::string chooseBook(DialogServices& dialogs);
    const std::string& pendingBookPath() const { return pendingPath_; }
    // OK stores the boxes as "1"/"0" (LogGames "0" without its box) and the pending path. After
    // the desktop's dialog the engine's settings become a copy of the desktop's, keeping the
    // book in use until the next start.
    void close(const DialogValues& values, bool ok);

private:
    SettingsMap& map_;
    bool winboard_;
    std::string pendingPath_;
};

} // namespace corvid
