#include "search/search_context.h"

#include <algorithm>
#include <cstring>

namespace corvid {

void setUpSearchContext(SearchContext& context, const Position& root, const uint64_t* gameKeys) {
    context.rootPosition = root;
    context.position = root;
    context.rootSide = root.sideToMove;
    int plies = std::clamp<int>(root.ply, 0, MaxGamePlies);
    if (gameKeys)
        std::copy(gameKeys, gameKeys + plies, context.keyHistory);
    else
        std::fill(context.keyHistory, context.keyHistory + plies, 0);
    context.setKey(root.ply, root.key);
    context.nodes = context.qnodes = 0;
    context.selDepth = 0;
    context.iterationDepth = 0;
    context.rootMoves.count = 0;
    context.multiPv = 1;
    context.searchMoves.count = 0;
    for (RootLine& line : context.rootLines) {
        line.move = NoMove;
        line.score = 0;
        line.pvLength = 0;
        line.depth = 0;
    }
    std::fill(std::begin(context.previousScores), std::end(context.previousScores), 0);
    context.pvIndex = 0;
    context.instability = context.prevInstability = 0;
    context.bestMoveChanges = 0;
    context.rootMoveNumber = context.plyOneMoveNumber = 0;
    context.currentRootMove = NoMove;
    context.aborted = false;
}

void resetPlyRecords(SearchContext& c, int first) {
    for (int i = std::max(first, 0); i < StackSize; ++i) {
        PlyRecord& r = c.stack[i];
        std::memset(&r, 0, sizeof r);
        r.movedPiece = Empty;
        r.capturedType = Empty;
    }
}

int buildLine(Move* dst, Move move, const Move* src, int n) {
    dst[0] = move;
    n = std::clamp(n, 0, MaxPv - 1);
    std::memmove(dst + 1, src, sizeof(Move) * size_t(n));
    return n + 1;
}

} // namespace corvid
