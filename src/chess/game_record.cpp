#include "chess/game_record.h"

#include "chess/move_notation.h"
#include "chess/move_text.h"
#include "platform/engine_reporter.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace corvid {

CastleInfo gameCastleInfo;
Position gamePosition;
Position GameStart;
GameRecord gameRecord;
KeyHistoryTable KeyHistory;

namespace {
// Per process: installed once by the engine control.
std::atomic<MoveRecordedHook> moveRecordedHook{nullptr};
} // namespace

void KeyHistoryTable::Clear() { std::memset(keys, 0, sizeof keys); }

void SetMoveRecordedHook(MoveRecordedHook hook) { moveRecordedHook.store(hook); }

void StartGameRecord(const Position& start) {
    if (start.castleInfo && start.castleInfo != &gameCastleInfo) gameCastleInfo = *start.castleInfo;
    GameStart = start;
    GameStart.castleInfo = &gameCastleInfo;
    gamePosition = GameStart;
    gameRecord.moveCount = 0;
    std::memset(gameRecord.entries, 0, sizeof gameRecord.entries);
    // Keys of an earlier game below the start ply would count as repetitions.
    KeyHistory.Clear();
    KeyHistory.Set(GameStart.ply, GameStart.key);
}

bool RecordMove(GameRecord& record, Move move, const Position& before) {
    const int ply = before.ply;
    if (ply < 0 || ply >= MaxGamePly) {
        reporter().statusText("Hit Maximum Move Number");
        return false;
    }
    if (&record == &gameRecord && ply >= record.moveCount) {
        if (MoveRecordedHook hook = moveRecordedHook.load()) hook(ply);
        KeyHistory.Set(ply, before.key);
    }
    // Plies skipped over (a start with black to move) hold no move.
    for (int i = std::max(record.moveCount, 0); i < ply; ++i) record.entries[i][0] = '\0';
    char text[MoveTextBufferSize];
    FormatMove(text, move, before, LongForm);
    std::memcpy(record.entries[ply], text, MoveTextSize - 1);
    record.entries[ply][MoveTextSize - 1] = '\0';
    record.moveCount = ply + 1;
    return true;
}

void GoToPly(GameRecord& record, Position& position, int n) {
    n = std::clamp(n, 0, std::clamp(record.moveCount, 0, MaxGamePly));
    position = GameStart;
    for (int i = 0; i < n; ++i) {
        const char* entry = record.entries[i];
        if (entry[0] == '\0' || i < GameStart.ply) continue;
        KeyHistory.Set(position.ply, position.key);
        // A stored entry that no longer plays is passed over.
        ParseAndPlayMove(std::string_view(entry, strnlen(entry, MoveTextSize)), position, false,
                         record);
    }
    KeyHistory.Set(position.ply, position.key);
}

void TakeBackToPly(GameRecord& record, Position& position, int n) {
    n = std::clamp(n, 0, std::clamp(record.moveCount, 0, MaxGamePly));
    GoToPly(record, position, n);
    record.moveCount = n;
}

} // namespace corvid
