#include "protocol/protocol_game.h"

#include "book/book_learning.h"
#include "chess/pgn.h"
#include "control/engine_name.h"
#include "eval/evaluate.h"
#include "protocol/winboard.h"
#include "search/search_info.h"

namespace corvid {

int staticEvaluation(const Position& p) {
    return evaluatePosition(p, EvalWindowMin, EvalWindowMax);
}

void logProtocolGame(int result) {
    PgnGameInfo info;
    SetPgnPlayerNames(info, searchInfo.humanSide.load(), winboardState.opponentName,
                      engineName().c_str());
    info.baseMinutes = searchInfo.baseMinutes.load();
    info.incrementSeconds = searchInfo.incrementSeconds.load();
    info.movesPerControl = searchInfo.movesPerControl.load();
    info.secondsPerMove = winboardState.fixedMoveSeconds;
    SavePgn("WinboardGames.pgn", result, true, info);
}

void learnFromLostGame(int result) {
    BookLearn(currentBook(), gameRecord, gamePosition.ply, result);
}

} // namespace corvid
