// The game: its position, start position, the moves played as text by ply, and the position
// keys by ply that every repetition test reads. Also the operation that finds and plays a move
// from partial information (a mouse click, a move text, a book entry).
#pragma once

#include "chess/position.h"

#include <cstdint>

namespace corvid {

// Plies a game may reach. A UCI position line can carry a very long game; beyond this moves are
// refused rather than played unrecorded.
constexpr int MaxGamePly = 4096;
// Plies the search may write above the game's ply (its deepest line), with a margin.
constexpr int SearchStackPlies = 320;
constexpr int KeyHistoryCapacity = MaxGamePly + SearchStackPlies + 64;

constexpr int MoveTextSize = 12;

// The moves of one game as text, indexed by the ply of the position before the move.
struct GameRecord {
    int32_t moveCount = 0;
    char entries[MaxGamePly][MoveTextSize] = {};

    // The entry at ply, or "" for a ply outside the stored entries.
    const char* Entry(int ply) const { return ply >= 0 && ply < moveCount ? entries[ply] : ""; }
};

// Position keys by ply: entry p is the key of the position in which the move of ply p was made.
struct KeyHistoryTable {
    uint64_t keys[KeyHistoryCapacity] = {};

    // Out-of-range writes are dropped and reads give 0 (never a real key in practice).
    bool Set(int ply, uint64_t key) {
        if (ply < 0 || ply >= KeyHistoryCapacity) return false;
        keys[ply] = key;
        return true;
    }
    uint64_t At(int ply) const { return ply >= 0 && ply < KeyHistoryCapacity ? keys[ply] : 0; }
    void Clear();
};

// Per process: the castling rooks of the game shown (every game position points here).
extern CastleInfo gameCastleInfo;
// Per game: the position of the game shown, which is also the engine's game.
extern Position gamePosition;
// Per game: the position the game started from; the game is re-created by replaying from it.
extern Position GameStart;
// Per game: the moves of the game shown.
extern GameRecord gameRecord;
// Per game: keys of the game's positions by ply; the search copies it and extends the copy.
extern KeyHistoryTable KeyHistory;

// Starts a new game record from the position (already set up on gameCastleInfo): the game
// position and GameStart become it, the record is emptied and the key history cleared.
void StartGameRecord(const Position& start);

// Called when a recorded move extends the game shown (the engine control charges the mover's
// clock and sets the game running again). Installed once at start-up; none by default.
using MoveRecordedHook = void (*)(int plyBefore);
void SetMoveRecordedHook(MoveRecordedHook hook);

// Appends the move's long-form text at the ply of positionBefore (moveCount becomes that
// ply + 1). Returns false, recording nothing, when the ply is outside the record.
bool RecordMove(GameRecord& record, Move move, const Position& positionBefore);

// Sets position to GameStart and replays the first n entries (clamped to the record). Entries
// that no longer parse are skipped.
void GoToPly(GameRecord& record, Position& position, int n);
// GoToPly, then the record ends at that ply (taking moves back).
void TakeBackToPly(GameRecord& record, Position& position, int n);

// Finds the legal move matching the description and plays it; -1 means a coordinate is not
// given, pieceType 6 any piece, promotion 6 not given (the desktop asks). Returns false and
// changes nothing when no legal move matches or the game is at its length limit.
bool PlayMoveInGame(Position& position, int fromFile, int fromRow, int toFile, int toRow,
                    int pieceType, bool record, GameRecord& target, int promotion);
// Plays a move already known as a legal move code (the engine's own move, a book move).
// Returns false and changes nothing when the move is not legal here.
bool PlayGameMove(Position& position, Move move, bool record, GameRecord& target);
// Passes the turn in the game; refused (false) when in check or at the length limit.
bool PlayNullMoveInGame(Position& position, bool record, GameRecord& target);

} // namespace corvid
