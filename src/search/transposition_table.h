// The transposition table: results of earlier searches by position key, in buckets of three
// 16-byte entries, with depth- and age-preferred replacement.
#pragma once

#include "chess/position.h"
#include "search/score.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace corvid {

// Bound types (flags bits 0-1). The value 3 is never written and counts as no usable bound.
constexpr int BoundUpper = 0; // the score is at most the stored one ("Fail Low")
constexpr int BoundLower = 1; // the score is at least the stored one ("Fail High")
constexpr int BoundExact = 2;
constexpr int BoundNone = 3;

// Hint bits passed through the table for the search (stored in flags bits 2-3).
constexpr int HintSingular = 1;
constexpr int HintNoMateThreat = 2;

// An entry as the search reads and writes it.
struct TTEntry {
    uint32_t lock;      // high 32 bits of the key; 0 is an empty slot
    int16_t score;      // mate scores relative to the node
    int16_t staticEval; // NoScore when the search had none
    Move move;
    int16_t depth; // half plies; quiescence entries are negative
    uint8_t age;   // low 8 bits of the search age
    uint8_t flags; // bound | hints << 2

    int bound() const { return flags & 3; }
    int hints() const { return flags >> 2; }
};

// An entry as stored: two 64-bit words that search threads read and write without a lock, so a
// reader may see the halves of two different writes. The key word holds the lock xor-ed with a
// mix of the data word: a torn pair decodes to a lock that matches no probe (or to an empty
// slot), and such an entry is never used. Zero words are an empty slot.
struct TTSlot {
    uint64_t keyWord;  // lock ^ mix(dataWord) in bits 0-31, age in 32-39, flags in 40-47
    uint64_t dataWord; // score, static evaluation, move, depth: 16 bits each
};
static_assert(sizeof(TTSlot) == 16);

// Reads and writes a slot word by word (atomically each, in no particular order).
TTEntry ttLoad(const TTSlot& slot);
void ttSave(TTSlot& slot, const TTEntry& entry);

struct TTBucket {
    TTSlot entries[3];
};
static_assert(sizeof(TTBucket) == 48);

struct TranspositionTable {
    TTBucket* buckets = nullptr; // 64-byte aligned, zero-filled
    uint32_t mask = 0;           // bucket count - 1
    uint64_t byteSize = 0;       // bucket count x 48
    void* block = nullptr;       // the allocation behind buckets
    // "Use Hash Table": when off, probes miss and stores do nothing. The menu may flip it
    // while a search runs.
    std::atomic<bool> useHashTable{true};
    // The age counter: each root search takes the current value and increments it.
    uint32_t searchAge = 0;
};

// Per process: allocated by initEngine; resized and cleared only while no search runs; probed
// and written by every search thread at once (see TTSlot).
extern TranspositionTable transpositionTable;

constexpr int DefaultHashSizeCode = 22;

// 2^(code - 2) buckets (code 22: 2^20 buckets, 48 MB); codes outside 6..32 are clamped.
uint64_t BucketsForSizeCode(int code);
// The largest power of two of buckets not above megabytes x 2^20 / 48, at least 8 and at most
// 2^30; 0 when the request is 2 MB or less (ignored).
uint64_t BucketsForMegabytes(int64_t megabytes);
// The size menu's text for codes 19..27 ("6 MB" .. "1.5 GB"); "" for other codes.
const char* HashSizeLabel(int code);

// Allocates a zeroed table of the given bucket count (a power of two), halving the count until
// the allocation succeeds. The old array is released only after the new one exists; when no
// size down to 8 buckets can be had, the old table stays. Returns the bucket count in use.
uint64_t ttAllocate(uint64_t buckets);
// The same with a given allocator of zeroed, free()-able memory (nullptr on failure).
using ZeroedAllocator = void* (*)(size_t bytes);
uint64_t ttAllocateWith(uint64_t buckets, ZeroedAllocator allocate);
// Reallocates for a size code (start-up, the size menu); returns the bucket count in use.
uint64_t ttResize(int sizeCode);
// Reallocates for UCI "Hash" in megabytes; false when the value is ignored.
bool ttResizeMegabytes(int64_t megabytes);
// Zeroes every entry and the pawn cache, and tells the desktop "Cleared Hash".
void ttClear();
// The age for a new root search (then advances the counter).
uint32_t ttNewSearchAge();

// Mate scores are stored relative to the node and read back relative to the root.
int ScoreToTable(int score, int ply);
int ScoreFromTable(int stored, int ply);

// A mate score whose distance is within one and a half times the entry's depth.
bool isProvenMate(const TTEntry& entry);
// The cut-off test of a found entry, with its score already adjusted to the ply.
bool ttCutsOff(const TTEntry& entry, int score, int alpha, int beta, int requiredDepth);

struct TTProbe {
    bool found = false;
    Move move = NoMove;
    int score = NoScore;
    int depth = 0;
    int bound = BoundNone;
    int staticEval = NoScore;
    int hints = 0;
};

// Looks the key up. Returns whether the entry allows a cut-off (its age is then refreshed);
// when found, out holds the entry's move, ply-adjusted score, depth, bound, static evaluation
// and hint bits whether or not it cuts off. Not found leaves out untouched.
bool ttProbe(uint64_t key, int alpha, int beta, int requiredDepth, int ply, int age, TTProbe& out);

// The quiescence search's probe: every matching slot gets the cut-off test; no age refresh,
// no move. Returns true with the ply-adjusted score on a cut-off; staticEval gets the first
// matching slot's static evaluation that is not NoScore.
bool ttProbeQuiescence(uint64_t key, int alpha, int beta, int requiredDepth, int ply, int& score,
                       int& staticEval);

// Builds an entry: bound from the raw score against the window, mate distance adjusted, score
// clamped to the mate range. False (nothing built) for NoScore, AbortScore and beyond.
bool ttBuildEntry(uint64_t key, int alpha, int beta, Move move, int score, int depth, int ply,
                  int age, int staticEval, int hints, TTEntry& entry);
// Hands a built entry to the replacement procedure of its key's bucket.
void ttStoreEntry(uint64_t key, const TTEntry& entry);
// Builds and stores in one step.
void ttStore(uint64_t key, int alpha, int beta, Move move, int score, int depth, int ply, int age,
             int staticEval, int hints);

// The "Display TT Entry" text for a position, or "Not Found".
std::string ttEntryText(const Position& position);
// Shows that text on the desktop's status line.
void displayEntry(const Position& position);

} // namespace corvid
