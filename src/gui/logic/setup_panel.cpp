#include "gui/logic/setup_panel.h"

#include "chess/fen.h"
#include "control/game.h"
#include "control/new_game.h"
#include "control/search_controller.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/desktop.h"
#include "platform/engine_reporter.h"

#include <cstring>

namespace corvid {

namespace {

// Reads and validates the FEN; a refusal shows its reason on the status line.
bool readFen(const std::string& fen, Position& position, CastleInfo& castleInfo) {
    return SetPositionFromFen(position, fen.c_str(), fen.size(), &castleInfo);
}

void takePosition(WindowState& state, const Position& position) {
    std::memcpy(state.setupBoard, position.board, sizeof state.setupBoard);
    state.setupSideToMove = position.sideToMove;
    state.setupCastleRights = position.castleRights & 15;
}

} // namespace

void beginSetup(WindowState& state) {
    stopSearch();
    // The board as the game stands now (a move the engine just made may not have been shown).
    showGame(state, takeGameSnapshot());
    toggleSetupMode(state);
    state.setupButton = DefaultSetupPiece;
    takePosition(state, currentGamePosition());
}

void setupClearBoard(WindowState& state) {
    std::memset(state.setupBoard, Empty, sizeof state.setupBoard);
}

void setupStartBoard(WindowState& state) { setupFromFen(state, StartFen); }

std::string setupFen(const WindowState& state) {
    std::string fen;
    for (int row = 0; row < 8; ++row) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            const uint8_t piece = state.setupBoard[row * 8 + file];
            if (piece == Empty || piece > MakePiece(Black, King) || PieceLetters[piece] == ' ') {
                ++empty;
                continue;
            }
            if (empty) fen += char('0' + empty);
            empty = 0;
            fen += PieceLetters[piece];
        }
        if (empty) fen += char('0' + empty);
        if (row < 7) fen += '/';
    }
    fen += state.setupSideToMove == Black ? " b " : " w ";
    const std::string letters = "KQkq";
    std::string rights;
    for (int i = 0; i < 4; ++i)
        if (state.setupCastleRights & (1 << i)) rights += letters[size_t(i)];
    fen += rights.empty() ? "-" : rights;
    fen += " - 0 1";
    return fen;
}

bool setupFromFen(WindowState& state, const std::string& fen) {
    Position position;
    CastleInfo castleInfo;
    if (!readFen(fen, position, castleInfo)) return false;
    takePosition(state, position);
    return true;
}

bool finishSetup(WindowState& state) {
    const std::string fen = setupFen(state);
    stopSearch();
    Position start;
    CastleInfo castleInfo;
    if (!readFen(fen, start, castleInfo)) return false;
    resetWindowForNewGame(state);
    newGame(true, false, &start);
    showGame(state, takeGameSnapshot());
    reporter().statusText("Position Pasted.");
    return true;
}

void cancelSetup(WindowState& state) {
    state.setupMode = false;
    goToPly(state, state.game.ply);
}

void registerSetupCommands(CommandDispatcher& dispatcher, WindowState& state) {
    dispatcher.on(cmd::SetupBoard, [&state](int) {
        if (state.setupMode)
            cancelSetup(state);
        else
            beginSetup(state);
    });
}

} // namespace corvid
