// The desktop's commands on games, files, the clipboard and the engine, registered by id on
// the window's dispatcher, and what they keep between uses (the PGN file browsed, the last
// line of the search, the start directory of the undo and clipboard files).
#pragma once

#include "gui/logic/clipboard_port.h"
#include "gui/logic/command_table.h"
#include "gui/logic/dialog_services.h"
#include "gui/logic/pgn_browser.h"
#include "gui/logic/play_pv.h"
#include "gui/logic/window_state.h"

#include <functional>
#include <string>

namespace corvid {

struct GameCommands {
    GameCommands(WindowState& state, ClipboardPort& clipboard,
                 std::function<DialogServices&()> dialogs, std::string startDirectory);

    WindowState& state;
    ClipboardPort& clipboard;
    // The window's pickers and message boxes as they are at the time of asking (tests
    // replace them).
    std::function<DialogServices&()> dialogs;
    std::string startDirectory;
    PgnBrowser pgn;
    LastLine lastLine;
    // The analysis pane's lines, for the analysis copy.
    std::function<std::string()> analysisLines;

    // "undopaste.pgn" and "clipboard.pgn" in the start directory.
    std::string undoFile() const;
    std::string clipboardFile() const;
};

// Registers every command of the game, file, clipboard, engine and Develop menus that is not a
// dialog or a search display, the board modes and the panel's mode buttons, and sets the
// dispatcher's guard that stops the search as the command table says.
void registerGameCommands(CommandDispatcher& dispatcher, GameCommands& commands);

// A file or text dropped on the window: a .pgn file is loaded like "Load PGN"; any other file
// or text is pasted like the clipboard's. Shows the status text and returns it.
std::string dropFile(GameCommands& commands, const std::string& file);
std::string dropText(GameCommands& commands, const std::string& text);

} // namespace corvid
