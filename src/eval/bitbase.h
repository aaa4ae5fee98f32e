// Endgame bitbases: the nine win/draw tables read from the "bitbases" folder, and their probe.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace corvid {

// One bitbase file in memory. All fields are zero (and the vectors empty) when its file did
// not open or was rejected; a table with logicalBytes == 0 is never probed.
struct BitbaseTable {
    int32_t logicalBytes = 0;
    int32_t blockBytes = 0;
    int32_t storedBlocks = 0;
    std::vector<uint16_t> blockIndex; // logicalBytes / blockBytes entries
    std::vector<uint8_t> blocks;      // storedBlocks * blockBytes bytes

    bool loaded() const { return logicalBytes > 0; }
};

// The nine tables, in the order they are loaded.
struct Bitbases {
    BitbaseTable pawnRace, kpk, kpkp, kpkq, kppkp, kpkr, kppk, kpnk, kpbk;
};

// Per process: loaded once at engine start, read-only afterwards.
extern Bitbases bitbases;

// The file names, relative to the data directory, in load order.
extern const char* const BitbaseFileNames[9];

// Files larger than this are not bitbases; they are rejected before anything is allocated.
constexpr int64_t MaxBitbaseFileBytes = int64_t{64} << 20;

// Reads one bitbase file completely. A file that does not describe itself consistently (block
// size not a power of two, sizes that disagree with its length, a block index out of range, a
// short read) leaves the table empty and returns false.
bool readBitbase(std::FILE* file, BitbaseTable& table);

// Loads the nine tables from `folder` (found through the data-file search). A file that does
// not open or is rejected leaves its table empty; the engine then does without it.
void loadBitbases(const std::string& folder = "bitbases");

// The bit at bitIndex: 0 or 1, or -1 when the index lies outside the table (nothing is read).
int probeBitbase(const BitbaseTable& table, int64_t bitIndex);

} // namespace corvid
