// Every game of the master collections and of the reader test files (tests/data), loaded through
// the window's "Load PGN" and "Next Game" commands one after another.
#include "window_test_support.h"

#include "chess/pgn.h"
#include "gui/logic/command_ids.h"
#include "gui/qt/command_ports.h"
#include "gui/scripted_dialog_services.h"
#include "search/search_info.h"
#include "support/test_support.h"

#include <QApplication>
#include <algorithm>
#include <filesystem>

namespace corvid::test {

namespace {

int gamesIn(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    PgnReader reader(file);
    PgnTags tags;
    std::string text;
    int games = 0;
    while (reader.NextGame(tags, text)) ++games;
    std::fclose(file);
    return games;
}

} // namespace

TEST_F(WindowTest, EverySharedGameLoadsThroughTheWindow) {
    std::vector<std::string> files;
    for (const char* folder : {"pgn/master", "pgn/reader_tests"}) {
        const std::string root = TestDataPath(folder);
        ASSERT_TRUE(std::filesystem::is_directory(root)) << root;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
            if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    auto* ports = window->findChild<CommandPorts*>("commandPorts");
    ASSERT_NE(ports, nullptr);
    ScriptedDialogServices dialogs;
    window->setDialogServices(&dialogs);
    searchInfo.humanSide.store(EnginePlaysNeither);
    // The commands and the window's state, without drawing ten thousand boards.
    window->hide();
    int total = 0;
    for (const std::string& path : files) {
        const int games = gamesIn(path);
        dialogs.files.push_back(path);
        window->runCommand(cmd::LoadPgn);
        if (games == 0) continue;
        EXPECT_EQ(ports->commands().pgn.file, path);
        for (int n = 2; n <= games; ++n) {
            window->runCommand(cmd::NextPgnGame);
            ASSERT_EQ(ports->commands().pgn.gameIndex, n) << path;
            QApplication::processEvents();
        }
        window->runCommand(cmd::NextPgnGame); // past the last game: back to the first
        EXPECT_EQ(ports->commands().pgn.gameIndex, 1) << path;
        QApplication::processEvents();
        total += games;
    }
    RecordProperty("games", total);
    // 240 master games and some 1,400 of the reader files: none was skipped unread.
    EXPECT_GT(total, 1600);
}

} // namespace corvid::test
