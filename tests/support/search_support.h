// Running the search on a FEN in tests, without a clock.
#pragma once

#include "eval/search_personality.h"
#include "search/root_search.h"
#include "search/search_context.h"
#include "search/search_info.h"
#include "support/test_support.h"

#include <memory>
#include <string>

namespace corvid::test {

struct SearchRun {
    std::unique_ptr<FenPosition> fen; // the context's positions point at its CastleInfo
    std::unique_ptr<SearchContext> context;
    Move best = NoMove;
    int score = 0;
    uint64_t nodes = 0;
    std::string bestText; // coordinate notation
};

// A context set up on the FEN (game keys all zero), ready for rootSearch or direct node calls.
SearchRun PrepareSearch(const char* fen);

// Searches the FEN to depthPlies from a cleared table with the given switches, as an analysis
// (no clock), with `lines` lines.
SearchRun SearchFen(const char* fen, int depthPlies, const SearchSwitches& switches = {},
                    int lines = 1);

std::string MoveText(Move move, const Position& position);

// Sets the active switches and the search state for one test, restoring them afterwards.
class SearchSettings {
public:
    explicit SearchSettings(const SearchSwitches& switches = {},
                            SearchState state = SearchState::Analyzing);
    ~SearchSettings();

private:
    SearchSwitches savedSwitches_;
    SearchState savedState_;
};

} // namespace corvid::test
