// The pawn cache: everything that depends on the pawns alone, computed once per pawn
// configuration and kept by the pawn key.
#pragma once

#include "chess/score_pair.h"
#include "chess/types.h"

#include <cstdint>

namespace corvid {

// Marks a minor-piece slot of an entry as not yet computed.
constexpr int32_t SlotNotComputed = -30000;

// File flags.
constexpr uint8_t NoWhitePawn = 0x01, WeakWhitePawn = 0x02;
constexpr uint8_t NoBlackPawn = 0x10, WeakBlackPawn = 0x20;
constexpr uint8_t NoPawnFlag[2] = {NoWhitePawn, NoBlackPawn};
constexpr uint8_t WeakPawnFlag[2] = {WeakWhitePawn, WeakBlackPawn};

// Minor-piece slots filled on demand by the piece terms.
enum MinorSlot {
    BishopWhiteLight,
    BishopWhiteDark,
    BishopBlackLight,
    BishopBlackDark,
    KnightWhite,
    KnightBlack,
    MinorSlotCount
};

// Per-side pairs are indexed by colour (White first).
struct PawnCacheEntry {
    uint64_t key;
    Bitboard fixedPawns; // blocked pawns of both colours that cannot capture
    Bitboard openFiles;  // files without any pawn
    Bitboard passed[2];
    int32_t placement[5][2]; // pawn placement sums by table A..E
    ScorePair minorSlots[MinorSlotCount];
    ScorePair structure[2];    // doubled, isolated, backward, unsupported
    ScorePair staticPassed[2]; // candidates and passed pawns by square and support
    int16_t shelterKey[2];     // castling rights * 64 + king square, -1 = empty
    int16_t shelterValue[2];
    int16_t openFileCount;
    uint8_t fileFlags[8];
    uint8_t lowFile[2];  // lowest file with a pawn of the side, 8 when none
    uint8_t highFile[2]; // highest file with a pawn of the side, 0 when none
    uint8_t outsideDistance[2];
    int8_t passedSpread[2]; // highest minus lowest passed file, -11 when none
    uint8_t weakOnHalfOpen[2];
    uint8_t valid; // zero in a cleared entry, so a pawnless key never matches one
};
static_assert(sizeof(PawnCacheEntry) <= 200);

constexpr int PawnCacheEntries = 65536;

// Per process: the main search thread's pawn cache (13 MB); cleared at engine start and
// whenever the transposition table is cleared.
extern PawnCacheEntry pawnCache[PawnCacheEntries];

// Zeroes every entry of pawnCache. Only while no search runs.
void clearPawnCache();

// Makes the calling thread the one thread that uses pawnCache (the search thread calls this
// when it starts; tests and tools may too). Returns false when another thread holds it. Every
// other thread evaluates with a small private cache of its own, so it never writes the
// search's entries.
bool claimPawnCache();
// Gives pawnCache up again (the owning thread, before it ends).
void releasePawnCache();

// Makes the calling thread (a helper search thread) evaluate with a cache of its own: count
// entries (a power of two) that the caller keeps; nullptr returns it to the small private cache.
void usePawnCache(PawnCacheEntry* entries, int count);
// Zeroes the calling thread's own cache when pawnCache was cleared since the thread last
// looked: clears reach the helpers' caches when their next search starts.
void catchUpPawnCacheClear();

// The calling thread's cache slot for the key; it may hold another configuration.
PawnCacheEntry& pawnCacheSlot(uint64_t pawnKey);
// Fetches the slot into the processor cache ahead of its use.
void prefetchPawnCacheSlot(uint64_t pawnKey);
// Forgets the calling thread's entry for the key, so the next evaluation computes it afresh.
void invalidatePawnCacheEntry(uint64_t pawnKey);

} // namespace corvid
