#include "gui/logic/game_commands.h"

#include "chess/colour_mirror.h"
#include "chess/fen.h"
#include "chess/perft_report.h"
#include "control/game.h"
#include "control/game_end.h"
#include "control/new_game.h"
#include "control/search_controller.h"
#include "gui/logic/desktop.h"
#include "gui/logic/game_from_pgn.h"
#include "platform/clock.h"
#include "search/search_info.h"

#include <random>

namespace corvid {

namespace {

bool userPlaysOneSide(int human) { return human == HumanWhite || human == HumanBlack; }

} // namespace

void startChess960Game(WindowState& state, int number) {
    stopSearch();
    Position start;
    start.castleInfo = &gameCastleInfo;
    if (!Chess960Setup(start, ((number % 960) + 960) % 960)) return;
    resetWindowForNewGame(state);
    newGame(true, true, &start);
    showGame(state, takeGameSnapshot()); // before the engine may take the game
    requestThink();
}

int randomChess960Number() {
    std::random_device device;
    return int(device() % 960);
}

std::string offerDraw(DialogServices& dialogs) {
    if (!userPlaysOneSide(searchInfo.humanSide.load()) ||
        drawAndResign.drawAcceptable.load() != 1 || searchInfo.gameResult.load() != GameRunning)
        return "Draw offer refused.";
    stopSearch();
    searchInfo.gameResult.store(GameDrawn);
    dialogs.beep();
    return "Draw Agreed";
}

std::string resignGame(DialogServices& dialogs) {
    const int human = searchInfo.humanSide.load();
    if (searchInfo.gameResult.load() != GameRunning || !userPlaysOneSide(human)) return "";
    stopSearch();
    searchInfo.gameResult.store(human == HumanWhite ? GameBlackWon : GameWhiteWon);
    dialogs.beep();
    return human == HumanWhite ? "Result 0-1\n(White Resigns)" : "Result 1-0\n(Black Resigns)";
}

std::string resetClocks(WindowState& state) {
    searchInfo.whiteClock.store(0);
    searchInfo.blackClock.store(0);
    searchInfo.clockStart.store(millisecondClock());
    state.flagFallNotice = false;
    return "Game clock reset.";
}

std::string playNullMove(WindowState& state) {
    stopSearch();
    if (currentGamePosition().checkers) return "No null move while in check.";
    if (!PlayNullMoveInGame(gamePosition, true, gameRecord)) return "";
    gameReplaced(state);
    return "";
}

std::string mirrorPosition(WindowState& state) {
    stopSearch();
    char fen[128];
    ColourMirrorFen(fen, currentGamePosition());
    // Through the FEN reader: the keys, the en-passant square and the castling rooks are all
    // those of the mirrored position.
    Position mirrored;
    CastleInfo castleInfo;
    const char* error = "";
    if (!SetPositionFromFen(mirrored, fen, &castleInfo, &error)) return error;
    SetPositionFromFen(mirrored, fen, &gameCastleInfo);
    resetGame(&mirrored);
    state.selectedSquare = NothingSelected;
    state.legalTargets = 0;
    gameReplaced(state);
    return "";
}

std::string perftDisplay() {
    stopSearch();
    Position position = currentGamePosition();
    return PerftReport(position, 5);
}

} // namespace corvid
