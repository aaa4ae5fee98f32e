#include "startup/new_game.h"

#include "startup/clock.h"
#include "startup/game.h"
#include "startup/game_end.h"
#include "startup/search_controller.h"
#include "startup/search_info.h"
#include "startup/ui_reporter.h"

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
        uiReporter().moveListChanged();
        uiReporter().boardChanged();
        uiReporter().statusText("The Game Begins..");
    }
    drawAndResign.resignCount[White] = 0;
    drawAndResign.resignCount[Black] = 0;
}

} // namespace corvid
