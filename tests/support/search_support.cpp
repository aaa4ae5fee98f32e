#include "support/search_support.h"

#include "chess/coordinate_notation.h"

namespace corvid::test {

SearchSettings::SearchSettings(const SearchSwitches& switches, SearchState state)
    : savedSwitches_(activePersonality.switches), savedState_(searchInfo.searchState.load()) {
    activePersonality.switches = switches;
    searchInfo.searchState.store(state);
    searchInfo.stopRequest.store(StopRequest::None);
    searchInfo.ponderState.store(PonderState::None);
}

SearchSettings::~SearchSettings() {
    activePersonality.switches = savedSwitches_;
    searchInfo.searchState.store(savedState_);
    searchInfo.stopRequest.store(StopRequest::None);
    searchInfo.ponderState.store(PonderState::None);
}

SearchRun PrepareSearch(const char* fen) {
    // A small table (3 MB) keeps the many clears of the tests cheap.
    if (!transpositionTable.buckets) ttResize(18);
    searchInfo.searchThreads.store(TestSearchThreads());
    SearchRun run;
    run.fen = std::make_unique<FenPosition>(fen);
    run.context = std::make_unique<SearchContext>();
    static const uint64_t noKeys[2] = {};
    setUpSearchContext(*run.context, run.fen->position, noKeys);
    return run;
}

SearchRun SearchFen(const char* fen, int depthPlies, const SearchSwitches& switches, int lines) {
    SearchSettings settings(switches);
    SearchRun run = PrepareSearch(fen);
    ttClear();
    run.context->analysisLines = lines;
    run.best = rootSearch(*run.context, depthPlies);
    run.score = run.context->rootLines[0].score;
    run.nodes = searchedNodes(*run.context);
    run.bestText = MoveText(run.best, run.fen->position);
    return run;
}

std::string MoveText(Move move, const Position& position) {
    char text[16];
    FormatCoordinate(text, move, position, false);
    return text;
}

} // namespace corvid::test
