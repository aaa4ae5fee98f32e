// The bitbase file reader (including files that lie about themselves), the probe arithmetic
// and the index functions the generator shares with the engine.
#include "eval/bitbase.h"
#include "eval/bitbase_index.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace corvid {
namespace {

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A file of `logical` bytes in blocks of `block` bytes; block i of the index points at stored
// block index[i]; stored block j is filled with the byte j + 1.
std::vector<uint8_t> makeFile(uint32_t logical, uint32_t stored, uint32_t block,
                              const std::vector<uint16_t>& index) {
    std::vector<uint8_t> out;
    putU32(out, logical);
    putU32(out, stored);
    putU32(out, block);
    for (uint16_t e : index) out.push_back(uint8_t(e)), out.push_back(uint8_t(e >> 8));
    for (uint32_t j = 0; j < stored; ++j)
        for (uint32_t i = 0; i < block; ++i) out.push_back(uint8_t(j + 1));
    return out;
}

bool readBytes(const std::vector<uint8_t>& bytes, BitbaseTable& table) {
    std::FILE* f = std::tmpfile();
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    bool ok = readBitbase(f, table);
    std::fclose(f);
    return ok;
}

const std::vector<uint8_t> ValidFile = makeFile(32, 2, 8, {1, 0, 1, 1});

TEST(BitbaseReader, ReadsAValidFileAndProbesThroughSharedBlocks) {
    BitbaseTable table;
    ASSERT_TRUE(readBytes(ValidFile, table));
    EXPECT_EQ(table.logicalBytes, 32);
    EXPECT_EQ(table.storedBlocks, 2);
    EXPECT_EQ(table.blockBytes, 8);
    // Logical byte 0 lies in block 0 -> stored block 1 (bytes 0x02); byte 8 in stored block 0
    // (bytes 0x01).
    EXPECT_EQ(probeBitbase(table, 0), 0);
    EXPECT_EQ(probeBitbase(table, 1), 1);
    EXPECT_EQ(probeBitbase(table, 64), 1);
    EXPECT_EQ(probeBitbase(table, 65), 0);
    EXPECT_EQ(probeBitbase(table, 255), 0);
    EXPECT_EQ(probeBitbase(table, 249), 1);
    // Outside the logical array nothing is read.
    EXPECT_EQ(probeBitbase(table, 256), -1);
    EXPECT_EQ(probeBitbase(table, -1), -1);
    EXPECT_EQ(probeBitbase(BitbaseTable{}, 0), -1);
}

TEST(BitbaseReader, RejectsFilesThatContradictThemselves) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> extra = ValidFile;
    extra.push_back(0);
    std::vector<uint8_t> hugeStored;
    putU32(hugeStored, 65537 * 8);
    putU32(hugeStored, 65537);
    putU32(hugeStored, 8);
    std::vector<uint8_t> overflow; // sizes whose product would overflow 32 bits
    putU32(overflow, 0x80000000u);
    putU32(overflow, 0x10000u);
    putU32(overflow, 0x80000000u);
    std::vector<Case> cases = {
        {"empty file", {}},
        {"header only", std::vector<uint8_t>(ValidFile.begin(), ValidFile.begin() + 12)},
        {"block size 0", makeFile(32, 2, 0, {})},
        {"block size not a power of two", makeFile(24, 1, 3, std::vector<uint16_t>(8, 0))},
        {"logical size not a multiple of the block", makeFile(36, 2, 8, {1, 0, 1, 1})},
        {"no logical bytes", makeFile(0, 1, 8, {})},
        {"no stored blocks", makeFile(32, 0, 8, {0, 0, 0, 0})},
        {"block index out of range", makeFile(32, 2, 8, {1, 0, 2, 1})},
        {"one byte too many", extra},
        {"more than 65536 stored blocks", hugeStored},
        {"sizes overflowing 32 bits", overflow},
    };
    for (const Case& c : cases) {
        BitbaseTable table;
        EXPECT_FALSE(readBytes(c.bytes, table)) << c.what;
        EXPECT_FALSE(table.loaded()) << c.what;
        EXPECT_TRUE(table.blockIndex.empty() && table.blocks.empty()) << c.what;
        EXPECT_EQ(probeBitbase(table, 0), -1) << c.what;
    }
}

TEST(BitbaseReader, SurvivesTruncatedAndRandomFiles) {
    for (size_t length = 0; length < ValidFile.size(); ++length) {
        BitbaseTable table;
        EXPECT_FALSE(readBytes(
            std::vector<uint8_t>(ValidFile.begin(), ValidFile.begin() + long(length)), table))
            << length;
    }
    std::mt19937 random(2024);
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<uint8_t> bytes(random() % 64);
        for (auto& b : bytes) b = uint8_t(random());
        // Half the trials keep a plausible header so the later checks are reached.
        if (trial % 2 && bytes.size() >= 12) {
            bytes[0] = uint8_t(8 << (random() % 3)), bytes[1] = bytes[2] = bytes[3] = 0;
            bytes[4] = uint8_t(1 + random() % 3), bytes[5] = bytes[6] = bytes[7] = 0;
            bytes[8] = uint8_t(4 << (random() % 2)), bytes[9] = bytes[10] = bytes[11] = 0;
        }
        BitbaseTable table;
        if (readBytes(bytes, table)) {
            // Whatever loads must be probe-safe everywhere.
            for (int64_t bit = 0; bit < int64_t(table.logicalBytes) * 8; ++bit)
                ASSERT_GE(probeBitbase(table, bit), 0);
        }
    }
}

TEST(BitbaseReader, MissingFolderLeavesEveryTableEmpty) {
    loadBitbases("no-such-bitbase-folder");
    for (const BitbaseTable* t :
         {&bitbases.pawnRace, &bitbases.kpk, &bitbases.kpkp, &bitbases.kpkq, &bitbases.kppkp,
          &bitbases.kpkr, &bitbases.kppk, &bitbases.kpnk, &bitbases.kpbk})
        EXPECT_FALSE(t->loaded());
}

// Squares: a8 = 0, h1 = 63.
constexpr int E1 = 60, E2 = 52, E8 = 4, D1 = 59, D2 = 51, D8 = 3;

TEST(BitbaseIndex, KpkMirrorsTheEFileToTheDFile) {
    EXPECT_EQ(kpkIndex(E1, E8, E2, true), 192763);
    EXPECT_EQ(kpkIndex(E1, E8, E2, true), kpkIndex(D1, D8, D2, true));
    EXPECT_EQ(kpkIndex(E1, E8, E2, false), 192763 - 4096);
}

TEST(BitbaseIndex, EveryPositionLandsInsideItsTable) {
    for (int pawn = 8; pawn < 56; ++pawn)
        for (int a = 0; a < 64; ++a)
            for (int b = 0; b < 64; ++b)
                for (int stm = 0; stm < 2; ++stm) {
                    int32_t i = kpkIndex(a, b, pawn, stm);
                    ASSERT_TRUE(i >= 0 && i < KpkBits);
                    i = kpxkIndex(a, b, pawn, (a + b) & 63, stm);
                    ASSERT_TRUE(i >= 0 && i < KpxkBits);
                    i = kpkpIndex(a, b, pawn, 8 + (a + b) % 48, stm);
                    ASSERT_TRUE(i >= 0 && i < KpkpBits);
                    i = kpkrIndex(a, b, pawn, (a * b) & 63, stm);
                    ASSERT_TRUE(i == -1 ? RowOf(pawn) > 4 : i < KpkrBits);
                    i = kpkqIndex(a, b, pawn, (a * b) & 63, stm);
                    ASSERT_TRUE(i < KpkqBits);
                    i = pawnRaceEntry(a, b, pawn);
                    ASSERT_TRUE(i >= 0 && 4 * int64_t(i) + 3 < PawnRaceBits);
                }
}

// The fourth-rank-or-higher pawns of KPKR use 16 pawn slots per side to move; a third-rank pawn
// would land on the other side to move's seventh-rank slots.
TEST(BitbaseIndex, KpkrSlotsDoNotCollide) {
    std::vector<bool> seen(static_cast<size_t>(KpkrBits));
    for (int pawn = 8; pawn < 40; ++pawn)
        for (int stm = 0; stm < 2; ++stm) {
            if (FileOf(pawn) >= 4) continue;
            int32_t i = kpkrIndex(E1, E8, pawn, 0, stm);
            ASSERT_FALSE(seen[size_t(i)]) << pawn;
            seen[size_t(i)] = true;
        }
    EXPECT_EQ(kpkrIndex(E1, E8, 40, 0, true), -1); // a third-rank pawn has no entry
}

} // namespace
} // namespace corvid
