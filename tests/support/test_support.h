// Helpers shared by the tests.
#pragma once

#include "chess/fen.h"

#include <string>

namespace corvid::test {

// Builds the engine's read-only tables once.
void EnsureTables();

// A position read from FEN with its own CastleInfo kept alive by the returned holder.
struct FenPosition {
    Position position;
    CastleInfo castleInfo;
    explicit FenPosition(const char* fen);
    FenPosition(const FenPosition& other);
    FenPosition& operator=(const FenPosition& other);
};

// Starts the game record afresh from the FEN (the game's position, CastleInfo and record);
// the test fails when the FEN is refused.
void StartTestGame(const char* fen);

// "" when every derived field of the position equals its from-scratch value (sets, keys,
// counts, material, piece-square sums, king squares, checkers, blockers); otherwise the names
// of the fields that differ.
std::string PositionInvariantError(const Position& position);

// Path of a file in the shared test data (../shared/data next to the repository), or "" when
// the data is not there (tests then skip).
std::string SharedDataPath(const std::string& relative);

// The search threads the tests run with: CORVID_TEST_THREADS (1 when unset), so that the
// protocol and search suites can be run again with helper threads (under the thread sanitizer).
int TestSearchThreads();

// Path of the built executable (corvid or corvid_popcnt) in the build tree.
std::string BuiltProgram(const std::string& name);

} // namespace corvid::test
