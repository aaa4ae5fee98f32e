// A table of perft counts and the loop that checks them, shared by the quick and deep suites.
#pragma once

#include "chess/perft.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace corvid::test {

struct PerftCase {
    const char* fen;
    int depth;
    uint64_t nodes;
};

// Checks every case (a failure names the FEN and depth); returns how many ran.
template <size_t N> int RunPerftCases(const PerftCase (&cases)[N]) {
    int ran = 0;
    for (const PerftCase& c : cases) {
        FenPosition fp(c.fen);
        EXPECT_EQ(Perft(fp.position, c.depth), c.nodes) << c.fen << " depth " << c.depth;
        ++ran;
    }
    return ran;
}

} // namespace corvid::test
