// Attack tables against slow ray walks, the line masks, and both bit-count forms.
#include "chess/bitboard.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace corvid {
namespace {

Bitboard Squares(std::initializer_list<int> list) {
    Bitboard b = 0;
    for (int s : list) b |= SquareBB(s);
    return b;
}

TEST(Bitboard, SliderLookupsMatchRayWalksForRandomOccupancies) {
    test::EnsureTables();
    std::mt19937_64 random(5);
    for (int s = 0; s < 64; ++s) {
        for (int i = 0; i < 2000; ++i) {
            Bitboard occupancy = random() & random();
            ASSERT_EQ(RookAttacks(s, occupancy), SlidingAttacksReference(s, occupancy, true))
                << "rook on " << s;
            ASSERT_EQ(BishopAttacks(s, occupancy), SlidingAttacksReference(s, occupancy, false))
                << "bishop on " << s;
        }
    }
}

TEST(Bitboard, MasksAndTableSizes) {
    test::EnsureTables();
    int rookEntries = 0, bishopEntries = 0;
    for (int s = 0; s < 64; ++s) {
        EXPECT_GE(RookMagic[s].bits, 10);
        EXPECT_LE(RookMagic[s].bits, 12);
        EXPECT_GE(BishopMagic[s].bits, 5);
        EXPECT_LE(BishopMagic[s].bits, 9);
        rookEntries += 1 << RookMagic[s].bits;
        bishopEntries += 1 << BishopMagic[s].bits;
    }
    EXPECT_EQ(rookEntries, 102400);
    EXPECT_EQ(bishopEntries, 5248);
}

TEST(Bitboard, AttackEdgeCases) {
    test::EnsureTables();
    // Rook on a8: the a-file and the 8th rank; a blocker on a5 stops the file at a5.
    Bitboard fileAndRank = (FileMask[0] | RowMask[0]) & ~SquareBB(0);
    EXPECT_EQ(RookAttacks(0, 0), fileAndRank);
    EXPECT_EQ(PopCount(RookAttacks(0, 0)), 14);
    EXPECT_EQ(RookAttacks(0, SquareBB(24)), (RowMask[0] & ~SquareBB(0)) | Squares({8, 16, 24}));
    EXPECT_EQ(PopCount(KingAttacks[63]), 3);
    EXPECT_EQ(PopCount(KnightAttacks[0]), 2);
    // A white pawn on e4 (36) attacks d5 (27) and f5 (29).
    EXPECT_EQ(PawnAttacks[Black][36], Squares({27, 29}));
    EXPECT_TRUE(PawnAttacks[White][27] & SquareBB(36));
}

TEST(Bitboard, LineMasks) {
    test::EnsureTables();
    const int a1 = 56, h8 = 7, b3 = 41, e1 = 60, e4 = 36;
    EXPECT_EQ(BetweenMask[a1][h8], Squares({49, 42, 35, 28, 21, 14}));
    EXPECT_EQ(BetweenMask[a1][b3], 0u);
    EXPECT_EQ(BetweenMask[e4][e4], 0u);
    EXPECT_EQ(RayBeyond[e1][e4], Squares({28, 20, 12, 4}));
    EXPECT_EQ(LineMask[e1][e4], FileMask[4]);
    EXPECT_EQ(Direction(a1, h8), -7);
    EXPECT_EQ(Direction(h8, a1), 7);
    EXPECT_EQ(Direction(a1, b3), 0);
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) {
            EXPECT_EQ(BetweenMask[a][b], BetweenMask[b][a]);
            if (Direction(a, b)) {
                EXPECT_TRUE(LineMask[a][b] & SquareBB(a));
                EXPECT_TRUE(LineMask[a][b] & SquareBB(b));
                EXPECT_EQ(RayBeyond[a][b] & BetweenMask[a][b], 0u);
            }
        }
}

TEST(Bitboard, BitCountForms) {
    std::mt19937_64 random(11);
    EXPECT_EQ(PopCount(0xFFFF), 16);
    EXPECT_EQ(PopCount(~Bitboard{0}), 64);
    for (int i = 0; i < 10000; ++i) {
        Bitboard b = random();
        EXPECT_EQ(PopCount(b), __builtin_popcountll(b));
        Bitboard small = b & 0x0000000000007FFFULL & random();
        EXPECT_EQ(PopCountSmall(small), __builtin_popcountll(small));
        Bitboard spread = 0;
        for (int k = 0; k < 15; ++k) spread |= SquareBB(int(random() % 64));
        EXPECT_EQ(PopCountSmall(spread), __builtin_popcountll(spread));
    }
}

} // namespace
} // namespace corvid
