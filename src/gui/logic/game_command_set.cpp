#include "gui/logic/game_command_set.h"

#include "chess/pgn.h"
#include "control/engine_name.h"
#include "control/preferences.h"
#include "control/search_controller.h"
#include "gui/logic/board_mode.h"
#include "gui/logic/clipboard_exchange.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/engine_commands.h"
#include "gui/logic/game_commands.h"
#include "gui/logic/search_guard.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"
#include "search/transposition_table.h"

#include <cstdio>
#include <fstream>
#include <utility>

namespace corvid {

namespace {

constexpr const char* PgnFilter = "PGN Chess Game (*.pgn)";

void status(const std::string& text) {
    if (!text.empty()) reporter().statusText(text.c_str());
}

std::string inStartDirectory(const std::string& folder, const char* name) {
    return folder.empty() ? name : folder + "/" + name;
}

const char* KeyboardHelpText =
    "In play (ignored while the engine thinks on its move):\n"
    "1 - 5\tbook value -2 .. 2 for the position\n"
    "6\tremove the position from the book\n"
    "A, Z\tblack's, white's king safety\n"
    "C, ctrl+C\tcopy the position (FEN), the game (PGN)\n"
    "V, ctrl+V\tpaste a position (FEN), a game (PGN)\n"
    "ctrl+Z\tundo the last paste\n"
    "E, F, Q, T\tevaluation, move info, quiescence search, hash entry\n"
    "H\tclear the hash tables\n"
    "K, L\tprevious, next game of the PGN file\n"
    "S\tboard set-up\n"
    "X\texperiment\n\n"
    "In board set-up: W, S previous, next piece; A, D white, black piece.";

void registerFileCommands(CommandDispatcher& d, GameCommands& c) {
    d.on(cmd::LoadPgn, [&c](int) {
        std::string file = c.dialogs().openFileName("Load PGN", lastPgnFolder(), PgnFilter);
        status(openPgnFile(c.state, c.pgn, file));
    });
    d.on(cmd::NextPgnGame, [&c](int) { status(nextPgnGame(c.state, c.pgn)); });
    d.on(cmd::PreviousPgnGame, [&c](int) { status(previousPgnGame(c.state, c.pgn)); });
    d.on(cmd::AppendGame, [&c](int) {
        std::string file =
            c.dialogs().saveFileName("Append (Save) Game to File", lastPgnFolder(), PgnFilter);
        status(appendGameToFile(file));
    });
}

void registerClipboardCommands(CommandDispatcher& d, GameCommands& c) {
    d.on(cmd::CopyTranscript, [&c](int) {
        status(copyToClipboard(c.clipboard, transcriptText(c.state.game), "Transcript Copied"));
    });
    d.on(cmd::CopyStandardPgn, [&c](int) {
        StandardPgnInfo info;
        PgnGameInfo names;
        SetPgnPlayerNames(names, searchInfo.humanSide.load(), preferences.playerName,
                          engineName().c_str());
        info.white = names.white;
        info.black = names.black;
        info.date = pgnDateToday();
        info.result = searchInfo.gameResult.load();
        status(copyToClipboard(c.clipboard, standardPgnText(c.state.game, info), "Game Copied"));
    });
    d.on(cmd::CopyPosition,
         [&c](int) { status(copyToClipboard(c.clipboard, c.state.game.fen, "Position Copied")); });
    d.on(cmd::CopyAnalysis, [&c](int) {
        const long long megabytes = (long long)(transpositionTable.byteSize >> 20);
        std::string lines = c.analysisLines ? c.analysisLines() : std::string();
        status(copyToClipboard(c.clipboard,
                               analysisCopyText(engineName(), megabytes, c.state.game.fen, lines),
                               "Analysis Copied"));
    });
    auto paste = [&c](PasteWish wish) {
        std::string text;
        if (!c.clipboard.readText(text)) return;
        status(pasteText(c.state, text, wish, c.undoFile()).status);
    };
    d.on(cmd::PasteTranscript, [paste](int) { paste(PasteWish::Transcript); });
    d.on(cmd::PastePosition, [paste](int) { paste(PasteWish::Position); });
    d.on(cmd::UndoLastPaste, [&c](int) {
        if (!loadFirstGame(c.state, c.undoFile())) status("Nothing to undo.");
    });
    d.on(cmd::SaveClipboardFile, [&c](int) { saveGameToFile(c.clipboardFile(), false); });
    d.on(cmd::LoadClipboardFile, [&c](int) {
        saveGameToFile(c.undoFile(), false);
        loadFirstGame(c.state, c.clipboardFile());
    });
}

void registerGameMenuCommands(CommandDispatcher& d, GameCommands& c) {
    d.on(cmd::NewChess960Game, [&c](int) { startChess960Game(c.state, randomChess960Number()); });
    d.on(cmd::OfferDraw, [&c](int) { status(offerDraw(c.dialogs())); });
    d.on(cmd::Resign, [&c](int) { status(resignGame(c.dialogs())); });
    d.on(cmd::ResetClock, [&c](int) { status(resetClocks(c.state)); });
    d.on(cmd::PlayNullMove, [&c](int) { status(playNullMove(c.state)); });
    d.on(cmd::MirrorPosition, [&c](int) { status(mirrorPosition(c.state)); });
    d.on(cmd::DisplayPerft, [](int) {
        status("Calculating Perft....");
        status(perftDisplay());
    });
    d.on(cmd::PlayPv, [&c](int) {
        if (playPrincipalVariation(c.state, c.lastLine) < 0)
            status("No principal variation continues this position.");
    });
    // Board modes: the analysis request, the book view and the panel's toggles.
    d.on(cmd::AnalyzeMode, [&c](int) { setBoardMode(c.state, AnalysisMode); });
    d.on(cmd::BookMode, [&c](int) { setBoardMode(c.state, BookViewMode); });
    d.on(cmd::AnalyzeButton, [&c](int) { toggleBoardMode(c.state, AnalysisMode); });
    d.on(cmd::BookButton, [&c](int) { toggleBoardMode(c.state, BookViewMode); });
}

void registerEngineCommands(CommandDispatcher& d, GameCommands& c) {
    d.on(cmd::MoveNow, [](int) { moveNow(); });
    d.on(cmd::FirstDepthItem, cmd::Depth52, [&c](int id) { chooseDepthItem(c.state, id); });
    d.on(cmd::FirstHashSize, cmd::LastHashSize, [](int id) { status(chooseHashSize(id)); });
    d.on(cmd::FirstSearchSwitch, cmd::LastSearchSwitch, [](int id) { toggleSearchSwitch(id); });
    d.on(cmd::Experiment, [](int) { toggleExperiment(); });
    d.on(cmd::ClearHash, [](int) { ttClear(); });
    d.on(cmd::UseHashTable, [](int) { toggleUseHashTable(); });
    d.on(cmd::Ponder, [](int) { togglePondering(); });
    d.on(cmd::EvalsFromWhite, [](int) { toggleEvalsFromWhite(); });
    d.on(cmd::DisplaySearchInfo, [](int) { toggleSearchInfo(); });
}

void registerHelpCommands(CommandDispatcher& d, GameCommands& c) {
    d.on(cmd::KeyboardHelp,
         [&c](int) { c.dialogs().messageBox("Keyboard Shortcuts", KeyboardHelpText); });
    d.on(cmd::About, [&c](int) {
        c.dialogs().messageBox("About Corvid",
                               engineName() + "\nA chess engine and desktop chess program.\n"
                                              "Plays under UCI and WinBoard front ends, and here.");
    });
}

} // namespace

GameCommands::GameCommands(WindowState& s, ClipboardPort& board,
                           std::function<DialogServices&()> services, std::string folder)
    : state(s), clipboard(board), dialogs(std::move(services)), startDirectory(std::move(folder)) {}

std::string GameCommands::undoFile() const {
    return inStartDirectory(startDirectory, "undopaste.pgn");
}

std::string GameCommands::clipboardFile() const {
    return inStartDirectory(startDirectory, "clipboard.pgn");
}

void registerGameCommands(CommandDispatcher& d, GameCommands& c) {
    registerFileCommands(d, c);
    registerClipboardCommands(d, c);
    registerGameMenuCommands(d, c);
    registerEngineCommands(d, c);
    registerHelpCommands(d, c);
    WindowState& state = c.state;
    d.setGuard([&state](SearchUse use, const std::function<void()>& action) {
        runGuarded(state, use, action);
    });
}

std::string dropFile(GameCommands& c, const std::string& file) {
    const bool pgn = file.size() > 4 && (file.compare(file.size() - 4, 4, ".pgn") == 0 ||
                                         file.compare(file.size() - 4, 4, ".PGN") == 0);
    if (pgn) {
        std::string text = openPgnFile(c.state, c.pgn, file);
        status(text);
        return text;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        status("Cannot read " + file);
        return "Cannot read " + file;
    }
    // More than a game may hold is refused by the paste, not read whole.
    std::string text(pastePgnLimit() + 1, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(size_t(in.gcount()));
    return dropText(c, text);
}

std::string dropText(GameCommands& c, const std::string& text) {
    std::string result = pasteText(c.state, text, PasteWish::Transcript, c.undoFile()).status;
    status(result);
    return result;
}

} // namespace corvid
