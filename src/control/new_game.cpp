#include "control/new_game.h"

#include "control/game.h"
#include "control/game_end.h"
#include "control/search_controller.h"
#include "platform/clock.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"

namespace corvid {

void newGame(bool redraw, bool stopFirst, const Position* startPosition) {
    if (stopFirst) stopSearch();
    resetGame(startPosition);
    searchInfo.ponderMove.store(NoMove);
    searchInfo.gameResult.store(GameRunning);
    searchInfo.whiteClock.store(0);
    searchInfo.blackClock.store(0);
    searchInfo.clockStart.store(millisecondClock());
    if (redraw && !inProtocolMode()) {
        reporter().moveListChanged();
        reporter().boardChanged();
        reporter().statusText("The Game Begins..");
    }
    drawAndResign.resignCount[White] = 0;
    drawAndResign.resignCount[Black] = 0;
}

} // namespace corvid
