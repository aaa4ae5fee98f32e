// Square sets, bit counting and the precomputed attack tables.
#pragma once

#include "chess/types.h"

namespace corvid {

#if defined(CORVID_HW_POPCOUNT)
inline int PopCount(Bitboard b) { return __builtin_popcountll(b); }
inline int PopCountSmall(Bitboard b) { return __builtin_popcountll(b); }
#else
// Full software count, exact for any set.
inline int PopCount(Bitboard b) {
    b = b - ((b >> 1) & 0x5555555555555555ULL);
    b = (b & 0x3333333333333333ULL) + ((b >> 2) & 0x3333333333333333ULL);
    b = (b + (b >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return int((b * 0x0101010101010101ULL) >> 56);
}
// Short software count: exact only for sets of at most 15 squares (the nibble sums
// would overflow the top nibble beyond that).
inline int PopCountSmall(Bitboard b) {
    b = b - ((b >> 1) & 0x5555555555555555ULL);
    b = (b & 0x3333333333333333ULL) + ((b >> 2) & 0x3333333333333333ULL);
    return int((b * 0x1111111111111111ULL) >> 60);
}
#endif

inline int LowestSquare(Bitboard b) { return __builtin_ctzll(b); }
inline int HighestSquare(Bitboard b) { return 63 ^ __builtin_clzll(b); }
inline int PopLowest(Bitboard& b) {
    int square = LowestSquare(b);
    b &= b - 1;
    return square;
}
inline bool MoreThanOne(Bitboard b) { return (b & (b - 1)) != 0; }

constexpr Bitboard FileABB = 0x0101010101010101ULL;
constexpr Bitboard FileHBB = FileABB << 7;
constexpr Bitboard Corners = 0x8100000000000081ULL;
constexpr Bitboard PromotionRows = 0xFF000000000000FFULL;
constexpr Bitboard LightSquares = 0xAA55AA55AA55AA55ULL; // a8 (bit 0) is light
constexpr Bitboard DarkSquares = ~LightSquares;
constexpr Bitboard Edge = 0xFF818181818181FFULL;
constexpr Bitboard Centre =
    (Bitboard{1} << 27) | (Bitboard{1} << 28) | (Bitboard{1} << 35) | (Bitboard{1} << 36);
constexpr Bitboard WideCentre = 0x00003C3C3C3C0000ULL;

struct MagicEntry {
    uint64_t multiplier;
    Bitboard mask;
    int32_t bits;
    int32_t shift; // 64 - bits, kept so that a lookup saves the subtraction
    const Bitboard* attacks;
};

extern Bitboard KnightAttacks[64];
extern Bitboard KingAttacks[64];
// PawnAttacks[c][s]: squares from which a pawn of colour c attacks s; equivalently the
// squares a pawn of colour 1 - c on s attacks.
extern Bitboard PawnAttacks[2][64];
extern Bitboard RookPseudo[64];
extern Bitboard BishopPseudo[64];
extern Bitboard RowMask[8];
extern Bitboard FileMask[8];
extern uint8_t PromotionSquare[2][64];
extern Bitboard ShelterSquares[4];
extern Bitboard BetweenMask[64][64];
extern Bitboard LineMask[64][64];
extern Bitboard RayBeyond[64][64];
extern MagicEntry RookMagic[64];
extern MagicEntry BishopMagic[64];

constexpr int RookTableSize = 102400;
constexpr int BishopTableSize = 5248;

// Builds every table above; called once at engine start, before any position exists.
void InitAttackTables();

// A square's file without the square itself.
extern Bitboard FileWithout[64];
// RankReach[f][o]: the files a rook on file f reaches along its rank when bit i of o says
// whether file i + 1 is occupied (the edge files never block).
extern uint8_t RankReach[8][64];

// Rook attacks without the large magic table, whose misses in the second-level cache cost
// more than the few extra instructions: the file by reversing the ranks with a byte swap
// (the lower and upper halves of the file found by one subtraction each), the rank from a
// 512-byte table.
inline Bitboard RookAttacks(int square, Bitboard occupancy) {
    Bitboard bit = SquareBB(square);
    Bitboard mask = FileWithout[square];
    Bitboard forward = occupancy & mask;
    Bitboard reverse = __builtin_bswap64(forward) - __builtin_bswap64(bit);
    forward = ((forward - bit) ^ __builtin_bswap64(reverse)) & mask;
    int rankShift = square & 56;
    int inner = int((occupancy >> (rankShift + 1)) & 63);
    return forward | Bitboard(RankReach[square & 7][inner]) << rankShift;
}
inline Bitboard BishopAttacks(int square, Bitboard occupancy) {
    const MagicEntry& e = BishopMagic[square];
    return e.attacks[((occupancy & e.mask) * e.multiplier) >> e.shift];
}
inline Bitboard QueenAttacks(int square, Bitboard occupancy) {
    return RookAttacks(square, occupancy) | BishopAttacks(square, occupancy);
}

// The squares a piece of the given type and colour on the square attacks.
inline Bitboard PieceAttacks(int type, int colour, int square, Bitboard occupancy) {
    switch (type) {
    case Pawn:
        return PawnAttacks[colour ^ 1][square];
    case Knight:
        return KnightAttacks[square];
    case Bishop:
        return BishopAttacks(square, occupancy);
    case Rook:
        return RookAttacks(square, occupancy);
    case Queen:
        return QueenAttacks(square, occupancy);
    default:
        return KingAttacks[square];
    }
}

// Signed step from a to b along a shared line, 0 when not aligned.
int Direction(int a, int b);

// Slow reference slider attacks (ray walks), for building tables and for tests.
Bitboard SlidingAttacksReference(int square, Bitboard occupancy, bool rook);
Bitboard SliderMask(int square, bool rook);

} // namespace corvid
