#include "gui/logic/pgn_browser.h"

#include "control/engine_name.h"
#include "control/preferences.h"
#include "control/settings.h"
#include "gui/logic/game_from_pgn.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace corvid {

namespace {

constexpr const char* PgnFolderKey = "PgnFolder";

std::string gameNotFound(int n, int games) {
    char text[96];
    std::snprintf(text, sizeof text, "No game %d: the file holds %d game%s.", n, games,
                  games == 1 ? "" : "s");
    return text;
}

// Steps to game n of the browsed file; a game that does not exist sets the index back to 1.
std::string stepTo(WindowState& state, PgnBrowser& browser, int n) {
    if (browser.file.empty()) return "No PGN file loaded.";
    browser.gameIndex = n;
    int found = loadPgnGame(state, browser, browser.file, n);
    if (found == n || found == UnloadableGame) return ""; // the game is there: it stays chosen
    browser.gameIndex = 1;
    return found == 0 ? "Cannot read " + browser.file : gameNotFound(n, found);
}

} // namespace

int loadPgnGame(WindowState& state, PgnBrowser& browser, const std::string& file, int n) {
    PgnGame game;
    int found = ReadPgnGameIndexed(browser.index, file.c_str(), n, game.moveText, game.tags);
    if (found < n) return found;
    if (!startGameFromPgn(state, game)) return UnloadableGame;
    char text[PgnLineSize];
    const PgnTags& t = game.tags;
    std::snprintf(text, sizeof text,
                  "Game %d\nEvent: %s\nTime Control: %s\nWhite: %s\nBlack: %s\nResult: %s\n", n,
                  t.event, t.timeControl, t.white, t.black, t.result);
    reporter().statusText(text);
    return n;
}

std::string openPgnFile(WindowState& state, PgnBrowser& browser, const std::string& file) {
    if (file.empty()) return "";
    int found = loadPgnGame(state, browser, file, 1);
    // A first game with a broken FEN tag is still a game: its reason is on the status line.
    if (found != 1 && found != UnloadableGame) return "No game found in " + file;
    browser.file = file;
    browser.gameIndex = 1;
    rememberPgnFolder(file);
    return "";
}

std::string nextPgnGame(WindowState& state, PgnBrowser& browser) {
    return stepTo(state, browser, browser.gameIndex + 1);
}

std::string previousPgnGame(WindowState& state, PgnBrowser& browser) {
    return stepTo(state, browser, std::max(browser.gameIndex - 1, 1));
}

bool saveGameToFile(const std::string& file, bool append) {
    PgnGameInfo info;
    SetPgnPlayerNames(info, searchInfo.humanSide.load(), preferences.playerName,
                      engineName().c_str());
    info.baseMinutes = searchInfo.baseMinutes.load();
    info.incrementSeconds = searchInfo.incrementSeconds.load();
    return SavePgn(file.c_str(), searchInfo.gameResult.load(), append, info) == 1;
}

std::string appendGameToFile(const std::string& file) {
    if (file.empty()) return "";
    if (!saveGameToFile(file, true)) return "Game not saved: the file could not be written.";
    rememberPgnFolder(file);
    return "Game Saved.";
}

bool loadFirstGame(WindowState& state, const std::string& file) {
    PgnFileIndex index;
    PgnGame game;
    if (ReadPgnGameIndexed(index, file.c_str(), 1, game.moveText, game.tags) != 1) return false;
    return startGameFromPgn(state, game);
}

std::string lastPgnFolder() { return GuiSettings.get(PgnFolderKey); }

void rememberPgnFolder(const std::string& file) {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::absolute(file, error).parent_path();
    if (!error && !folder.empty()) GuiSettings.set(PgnFolderKey, folder.string());
}

} // namespace corvid
