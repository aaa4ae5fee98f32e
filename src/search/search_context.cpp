#include "search/search_context.h"

#include <algorithm>

namespace corvid {

void setUpSearchContext(SearchContext& context, const Position& root, const uint64_t* gameKeys) {
    context.rootPosition = root;
    context.rootSide = root.sideToMove;
    int plies = std::min<int>(root.ply, MaxGamePlies);
    std::copy(gameKeys, gameKeys + plies, context.keyHistory);
    context.keyHistory[plies] = root.key;
    context.nodes = 0;
    context.selDepth = 0;
    context.iterationDepth = 0;
    context.rootMoves.count = 0;
    for (RootLine& line : context.rootLines) {
        line.move = NoMove;
        line.score = 0;
        line.pvLength = 0;
        line.depth = 0;
    }
    context.pvIndex = 0;
    context.instability = context.prevInstability = 0;
}

} // namespace corvid
