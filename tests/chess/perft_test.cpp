#include "chess/perft.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

struct PerftCase {
    const char* fen;
    int depth;
    uint64_t nodes;
};

std::ostream& operator<<(std::ostream& out, const PerftCase& c) {
    return out << c.fen << " depth " << c.depth;
}

class PerftQuick : public ::testing::TestWithParam<PerftCase> {};

TEST_P(PerftQuick, CountsMatchPublishedValues) {
    test::FenPosition fp(GetParam().fen);
    EXPECT_EQ(Perft(fp.position, GetParam().depth), GetParam().nodes) << GetParam();
}

const PerftCase QuickCases[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 4, 197281},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 3, 97862},
};

INSTANTIATE_TEST_SUITE_P(Standard, PerftQuick, ::testing::ValuesIn(QuickCases));

} // namespace
} // namespace corvid
