#include "search/draw_detection.h"

namespace corvid {

namespace {

constexpr int FiftyMoveHalfMoves = 100;
constexpr int BareMinorMaterial = 521; // less than a rook

bool isCheckmated(const Position& p) {
    if (!p.checkers) return false;
    MoveList list;
    GenerateLegalMoves(p, list);
    return list.count == 0;
}

} // namespace

bool isDraw(const SearchContext& context, const Position& p, int rootPly) {
    if (p.ply - p.lastIrreversiblePly > FiftyMoveHalfMoves && !isCheckmated(p)) return true;
    if (p.material[White] <= BareMinorMaterial && p.material[Black] <= BareMinorMaterial &&
        p.pawnCount[White] == 0 && p.pawnCount[Black] == 0 && !p.checkers)
        return true;
    int beforeRoot = 0;
    for (int q = p.ply - 2; q >= p.lastIrreversiblePly && q >= 0; q -= 2) {
        if (context.keyAt(q) != p.key) continue;
        if (q >= rootPly) return true;
        if (++beforeRoot >= 2) return true;
    }
    return false;
}

int repetitionCount(const SearchContext& context, const Position& p) {
    int count = 0;
    for (int q = p.ply - 2; q >= p.lastIrreversiblePly && q >= 0; q -= 2)
        if (context.keyAt(q) == p.key) ++count;
    return count;
}

} // namespace corvid
