// The ten selectivity switches: each can be turned off alone, the search still finds the same
// tactics with any of them (or all) off, and each changes the tree when on.
#include "support/search_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvid {
namespace {

struct Tactic {
    const char* fen;
    const char* best;
};

const Tactic Tactics[] = {
    {"4k3/8/q7/1N6/8/8/8/4K3 w - - 0 1", "b5c7"},                                    // fork
    {"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", "h5f7"}, // mate
    {"r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", "d5f6"},   // mate in 2
    {"6k1/pp3ppp/8/3r4/8/8/PP3PPP/3R2K1 b - - 0 1", "d5d1"},                         // back rank
    {"6k1/5ppp/8/8/8/2q5/5PPP/2R3K1 w - - 0 1", "c1c3"},                             // free queen
    {"2r3k1/5ppp/8/8/8/8/4QPPP/6K1 b - - 0 1", "c8c1"},                              // perpetual
    {"8/3k4/8/8/8/2B5/6K1/q7 w - - 0 1", "c3a1"},                                    // take queen
    {"8/8/8/8/8/k7/p7/2K5 b - - 0 1", "a2a1q"},                                      // promote
};

// Quiet positions where every rule has work to do.
const char* const Middlegames[] = {
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "2q1rr1k/3bbnnp/p2p1pp1/2pPp3/PpP1P1P1/1P2BNNP/2BQ1PRK/7R b - - 0 1",
    "8/7p/2k1Pp2/pp1p2p1/3P2P1/4P3/P3K2P/8 w - - 0 1",
};

constexpr int TacticDepth = 6;
constexpr int MiddlegameDepth = 6;

SearchSwitches withOneOff(int index) {
    SearchSwitches switches;
    (switches.*SearchSwitchTable[index].flag) = false;
    return switches;
}

uint64_t middlegameNodes(const SearchSwitches& switches) {
    uint64_t total = 0;
    for (const char* fen : Middlegames)
        total += test::SearchFen(fen, MiddlegameDepth, switches).nodes;
    return total;
}

void expectTacticsFound(const SearchSwitches& switches, const char* label) {
    for (const Tactic& t : Tactics) {
        test::SearchRun run = test::SearchFen(t.fen, TacticDepth, switches);
        EXPECT_EQ(run.bestText, t.best) << t.fen << " depth " << TacticDepth << ", " << label;
    }
}

TEST(SelectivitySwitches, EachOffAloneFindsTheTacticsAndChangesTheTree) {
    uint64_t allOn = middlegameNodes(SearchSwitches{});
    expectTacticsFound(SearchSwitches{}, "all on");
    for (int i = 0; i < 10; ++i) {
        SearchSwitches switches = withOneOff(i);
        expectTacticsFound(switches, SearchSwitchTable[i].menuText);
        EXPECT_NE(middlegameNodes(switches), allOn)
            << SearchSwitchTable[i].menuText << " off leaves the tree unchanged";
    }
}

TEST(SelectivitySwitches, AllOffFindsTheSameTactics) {
    SearchSwitches none;
    for (const SearchSwitchEntry& entry : SearchSwitchTable) none.*entry.flag = false;
    expectTacticsFound(none, "all off");
}

} // namespace
} // namespace corvid
