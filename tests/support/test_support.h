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

// True when every derived field (sets, counts, material, piece-square sums, keys, checkers,
// blockers) equals what SetupDerived computes from the board, side, rights and en passant.
bool DerivedFieldsAgree(const Position& position);

// Path of a file in the shared test data (../shared/data next to the repository), or "" when
// the data is not there (tests then skip).
std::string SharedDataPath(const std::string& relative);

// Path of the built executable (corvid or corvid_popcnt) in the build tree.
std::string BuiltProgram(const std::string& name);

} // namespace corvid::test
