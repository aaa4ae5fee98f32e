#include "control/game.h"

#include "chess/fen.h"
#include "chess/move_text.h"
#include "platform/clock.h"
#include "search/search_info.h"

namespace corvid {

void resetGame(const Position* start) {
    if (start) {
        StartGameRecord(*start);
        return;
    }
    Position standard;
    CastleInfo castleInfo;
    SetPositionFromFen(standard, StartFen, &castleInfo);
    StartGameRecord(standard);
}

bool playGameMove(Move move) { return PlayGameMove(gamePosition, move, true, gameRecord); }

bool playGameMoveText(const char* text) {
    return ParseAndPlayMove(text, gamePosition, true, gameRecord);
}

bool takeBackPlies(int plies) {
    int target = gamePosition.ply - plies;
    if (plies <= 0 || target < GameStart.ply) return false;
    TakeBackToPly(gameRecord, gamePosition, target);
    return true;
}

namespace {

// A move that extends the game sets it running again and, on the desktop, charges the mover's
// clock with the time since the previous move.
void moveRecorded(int plyBefore) {
    searchInfo.gameResult.store(GameRunning);
    if (inProtocolMode() || !searchInfo.clocksRunning.load()) return;
    int64_t now = millisecondClock();
    int64_t used = (now - searchInfo.clockStart.exchange(now)) / 10;
    (plyBefore & 1 ? searchInfo.blackClock : searchInfo.whiteClock).fetch_add(int32_t(used));
}

} // namespace

void installMoveRecordedHook() { SetMoveRecordedHook(moveRecorded); }

} // namespace corvid
