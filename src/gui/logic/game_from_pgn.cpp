#include "gui/logic/game_from_pgn.h"

#include "chess/fen.h"
#include "control/new_game.h"
#include "control/search_controller.h"
#include "gui/logic/desktop.h"
#include "platform/engine_reporter.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace corvid {

namespace {

bool anyTagRead(const PgnTags& tags) {
    const PgnTags none;
    return std::strcmp(tags.white, none.white) || std::strcmp(tags.black, none.black) ||
           std::strcmp(tags.event, none.event) || std::strcmp(tags.result, none.result) ||
           std::strcmp(tags.timeControl, none.timeControl) || tags.fen[0] || tags.variant[0] ||
           tags.currentPly != none.currentPly;
}

// The game's start position on castleInfo; false with the reason when there is none.
bool startPosition(const PgnTags& tags, Position& start, CastleInfo* castleInfo,
                   const char** error) {
    if (tags.fenCut) {
        *error = "The game's FEN tag is too long.";
        return false;
    }
    return SetPositionFromFen(start, tags.fen[0] ? tags.fen : StartFen, castleInfo, error);
}

} // namespace

bool readPgnText(const std::string& text, PgnGame& game) {
    if (text.empty()) return false;
    std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (!file) return false;
    PgnReader reader(file);
    bool found = reader.NextGame(game.tags, game.moveText);
    std::fclose(file);
    return found;
}

PgnGameCheck checkPgnGame(const PgnGame& game) {
    PgnGameCheck check;
    check.hasTags = anyTagRead(game.tags);
    Position start;
    CastleInfo castleInfo;
    if (!startPosition(game.tags, start, &castleInfo, &check.error)) {
        check.startValid = false;
        return check;
    }
    auto record = std::make_unique<GameRecord>();
    check.movesPlayed = ParseMoveList(*record, game.moveText, start).played;
    return check;
}

bool startGameFromPgn(WindowState& state, const PgnGame& game) {
    stopSearch(); // before the game's castling record changes
    Position start;
    CastleInfo castleInfo;
    const char* error = "";
    if (!startPosition(game.tags, start, &castleInfo, &error)) {
        reporter().statusText(error);
        return false;
    }
    // Again on the game's own castling record, which every game position points to.
    SetPositionFromFen(start, game.tags.fen[0] ? game.tags.fen : StartFen, &gameCastleInfo);
    newGame(false, true, &start);
    ParseMoveList(gameRecord, game.moveText, gamePosition);
    if (game.tags.currentPly >= 0) GoToPly(gameRecord, gamePosition, game.tags.currentPly);
    state.selectedSquare = NothingSelected;
    state.legalTargets = 0;
    gameReplaced(state);
    return true;
}

void gameReplaced(WindowState& state) {
    showGame(state, takeGameSnapshot());
    state.hasPrevious = false;
    reporter().moveListChanged();
    reporter().boardChanged();
}

} // namespace corvid
