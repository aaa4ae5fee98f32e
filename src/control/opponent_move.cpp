#include "control/opponent_move.h"

#include "control/game.h"
#include "control/game_end.h"
#include "control/search_controller.h"
#include "control/search_thread.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"

namespace corvid {

OpponentMoveResult enterOpponentMove(const char* text, bool thinkAfter, void (*beforeMove)()) {
    // While pondering the search works on its own copy and the game may change under it;
    // any other search is stopped before the game changes.
    bool pondering = searchInfo.ponderState.load() == PonderState::Pondering;
    // (Seeing Pondering also orders this thread after the search thread's last game change.)
    if (!pondering) stopSearch();
    if (beforeMove) beforeMove();
    if (!playGameMoveText(text)) return OpponentMoveResult::Illegal;
    searchInfo.clocksRunning.store(true);
    searchInfo.gameResult.store(GameRunning);
    // The desktop redraws from copies taken now, while the game still belongs to this thread
    // (after a ponder hit below the search thread plays on it).
    if (!inProtocolMode()) {
        reporter().boardChanged();
        reporter().moveListChanged();
    }
    // The game-end test comes before the ponder decision: after a ponder hit the game belongs
    // to the search thread, which plays its move on it.
    bool gameOverNow = false;
    if (gameEndTest(false, gameOverNow)) {
        if (pondering) stopSearch();
        if (inProtocolMode())
            claimProtocolResult();
        else
            gameEndTest(true, gameOverNow);
        return OpponentMoveResult::GameOver;
    }
    bool ponderDecided = false;
    if (pondering) {
        PonderState outcome = isPonderedPosition(currentGamePosition()) ? PonderState::PonderHit
                                                                        : PonderState::PonderMiss;
        // Fails when the ponder search ended meanwhile: then a plain think follows.
        ponderDecided = searchController.swapPonderState(PonderState::Pondering, outcome);
        if (ponderDecided && outcome == PonderState::PonderHit && !inProtocolMode())
            reporter().statusText("Thinking....");
    }
    if (thinkAfter && !ponderDecided) requestThink();
    return OpponentMoveResult::Played;
}

} // namespace corvid
