// Stored multipliers for the magic-multiplication slider look-ups, indexed by square.
#pragma once

#include <cstdint>

namespace corvid {

extern const uint64_t RookMagics[64];
extern const uint64_t BishopMagics[64];

} // namespace corvid
