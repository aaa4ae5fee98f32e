#include "eval/bitbase.h"

#include "platform/data_files.h"

#include <cstring>

namespace corvid {

Bitbases bitbases;

const char* const BitbaseFileNames[9] = {
    "PawnRace.ebb", "KPK.ebb",  "KPKP.ebb", "KPKQ.ebb", "KPPKP.ebb",
    "KPKR.ebb",     "KPPK.ebb", "KPNK.ebb", "KPBK.ebb",
};

namespace {

constexpr int64_t HeaderBytes = 12;
constexpr int64_t MaxStoredBlocks = 65536;
// Bit indexes are signed 32-bit numbers.
constexpr int64_t MaxLogicalBytes = int64_t{1} << 28;

uint32_t readU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Reads the whole file, at most MaxBitbaseFileBytes + 1 bytes so an oversized file is noticed.
bool readAll(std::FILE* file, std::vector<uint8_t>& bytes) {
    bytes.clear();
    uint8_t chunk[65536];
    while (true) {
        size_t n = std::fread(chunk, 1, sizeof chunk, file);
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (int64_t(bytes.size()) > MaxBitbaseFileBytes) return false;
        if (n < sizeof chunk) return !std::ferror(file);
    }
}

bool parse(const std::vector<uint8_t>& bytes, BitbaseTable& table) {
    int64_t length = int64_t(bytes.size());
    if (length < HeaderBytes) return false;
    int64_t logicalBytes = readU32(bytes.data());
    int64_t storedBlocks = readU32(bytes.data() + 4);
    int64_t blockBytes = readU32(bytes.data() + 8);
    if (blockBytes == 0 || (blockBytes & (blockBytes - 1)) != 0) return false;
    if (logicalBytes == 0 || logicalBytes > MaxLogicalBytes) return false;
    if (logicalBytes % blockBytes != 0) return false;
    if (storedBlocks == 0 || storedBlocks > MaxStoredBlocks) return false;
    // Every size is at most 2^32, so these products stay far inside 64 bits.
    int64_t indexEntries = logicalBytes / blockBytes;
    int64_t expected = HeaderBytes + 2 * indexEntries + storedBlocks * blockBytes;
    if (expected != length || length > MaxBitbaseFileBytes) return false;

    std::vector<uint16_t> blockIndex(static_cast<size_t>(indexEntries));
    const uint8_t* p = bytes.data() + HeaderBytes;
    for (int64_t i = 0; i < indexEntries; ++i, p += 2) {
        uint16_t entry = uint16_t(p[0] | p[1] << 8);
        if (entry >= storedBlocks) return false;
        blockIndex[size_t(i)] = entry;
    }
    table.blockIndex = std::move(blockIndex);
    table.blocks.assign(p, bytes.data() + length);
    table.logicalBytes = int32_t(logicalBytes);
    table.storedBlocks = int32_t(storedBlocks);
    table.blockBytes = int32_t(blockBytes);
    return true;
}

} // namespace

bool readBitbase(std::FILE* file, BitbaseTable& table) {
    table = BitbaseTable{};
    std::vector<uint8_t> bytes;
    if (!readAll(file, bytes) || !parse(bytes, table)) {
        table = BitbaseTable{};
        return false;
    }
    return true;
}

void loadBitbases(const std::string& folder) {
    BitbaseTable* tables[9] = {&bitbases.pawnRace, &bitbases.kpk,   &bitbases.kpkp,
                               &bitbases.kpkq,     &bitbases.kppkp, &bitbases.kpkr,
                               &bitbases.kppk,     &bitbases.kpnk,  &bitbases.kpbk};
    for (int i = 0; i < 9; ++i) {
        *tables[i] = BitbaseTable{};
        std::FILE* file = openDataFile(folder + "/" + BitbaseFileNames[i], "rb");
        if (!file) continue;
        readBitbase(file, *tables[i]);
        std::fclose(file);
    }
}

int probeBitbase(const BitbaseTable& table, int64_t bitIndex) {
    if (bitIndex < 0 || bitIndex >= int64_t(table.logicalBytes) * 8) return -1;
    int64_t byte = bitIndex >> 3;
    int64_t block = byte / table.blockBytes;
    size_t offset = size_t(table.blockIndex[size_t(block)]) * size_t(table.blockBytes) +
                    size_t(byte & (table.blockBytes - 1));
    return (table.blocks[offset] >> (bitIndex & 7)) & 1;
}

} // namespace corvid
