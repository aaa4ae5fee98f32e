// The nine bitbase files: their logical bit arrays, filled from the solved tables through the
// engine's own index functions, and their block-compressed file form.
#pragma once

#include "retrograde.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvid::bitbase_gen {

// A logical bit array and which of its bits any position maps to (the others are free).
struct LogicalBits {
    std::vector<uint8_t> bits;
    std::vector<uint8_t> used;
    explicit LogicalBits(int64_t bitCount)
        : bits(size_t((bitCount + 7) / 8), 0), used(size_t((bitCount + 7) / 8), 0) {}
    // Sets a bit; a bit reached twice (mirror images) must get the same value.
    void set(int64_t index, bool value);
};

// Names as in the engine's load order: "PawnRace", "KPK", "KPKP", "KPKQ", "KPPKP", "KPKR",
// "KPPK", "KPNK", "KPBK".
const std::vector<std::string>& BitbaseNames();

// The solved materials a bitbase is read from.
std::vector<Material> SourceMaterials(const std::string& name);

// Fills the logical bits of one bitbase (solving what it needs in the registry).
LogicalBits BuildBitbase(const std::string& name, Registry& registry);

// The file bytes: header, block index and the distinct blocks, with the block size that gives
// the smallest file. Free bits are chosen to make more blocks identical.
std::vector<uint8_t> EncodeBitbase(const LogicalBits& logical);

} // namespace corvid::bitbase_gen
