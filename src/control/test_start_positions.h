// The start positions of a test match: a text file with one position (FEN) per line.
#pragma once

#include "chess/position.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvid {

// Positions kept from one file; reading stops when this many are loaded.
constexpr int MaxStartPositions = 2048;

struct TestStartPositions {
    std::vector<std::string> fens; // the lines that hold a playable position, in file order
    int32_t skipped = 0;           // lines that did not (blank and '#' lines are not counted)
};

// Reads the file (looked up like every data file). A missing file gives no positions. A line is
// read whole, however long; a line that is not a legal position, or whose game is already over,
// is skipped.
TestStartPositions loadTestStartPositions(const std::string& path);

// Sets up a start line's position on castleInfo; false (nothing usable) when the line holds no
// position that can be played from.
bool setUpStartPosition(Position& position, CastleInfo& castleInfo, const std::string& line);

} // namespace corvid
