#include "chess/perft.h"

#include "chess/make_move.h"
#include "chess/move_gen.h"

namespace corvid {

namespace {

void GeneratePerftMoves(const Position& p, MoveList& list) {
    list.count = 0;
    list.allPromotions = 1;
    GenerateAllMoves(p, list);
}

} // namespace

uint64_t Perft(Position& p, int depth) {
    if (depth <= 0) return 1;
    MoveList list;
    GeneratePerftMoves(p, list);
    uint64_t nodes = 0;
    if (depth == 1) {
        // Bulk count: the last ply is never made.
        for (int i = 0; i < list.count; ++i) nodes += IsLegal(p, list.moves[i]);
        return nodes;
    }
    const Position saved = p;
    const CheckSquares checkSquares = PrepareCheckSquares(p);
    UndoInfo undo;
    for (int i = 0; i < list.count; ++i) {
        Move move = list.moves[i];
        if (!IsLegal(saved, move)) continue;
        MakeMove(p, move, GivesCheck(saved, move, checkSquares), undo);
        nodes += Perft(p, depth - 1);
        p = saved;
    }
    return nodes;
}

PerftDivide PerftByMove(Position& p, int depth) {
    PerftDivide result;
    MoveList list;
    GeneratePerftMoves(p, list);
    const Position saved = p;
    for (int i = 0; i < list.count; ++i) {
        Move move = list.moves[i];
        if (!IsLegal(saved, move)) continue;
        MakeMoveWithCheck(p, move);
        uint64_t nodes = Perft(p, depth - 1);
        p = saved;
        result.moves[result.count] = move;
        result.nodes[result.count++] = nodes;
        result.total += nodes;
    }
    return result;
}

} // namespace corvid
