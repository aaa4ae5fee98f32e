// A coloured frame on a board square, as the search lines and the develop displays mark them.
#pragma once

#include <cstdint>
#include <vector>

namespace corvid {

struct BoardMark {
    int square;
    uint32_t rgb; // 0xRRGGBB
};

using BoardMarks = std::vector<BoardMark>;

} // namespace corvid
