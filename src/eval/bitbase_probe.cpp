#include "eval/bitbase_probe.h"

#include "chess/bitboard.h"
#include "eval/bitbase.h"
#include "eval/bitbase_index.h"

namespace corvid {

namespace {

// Squares as seen with the strong side playing White.
struct View {
    int strong;
    int operator()(int square) const { return strong == White ? square : RotateSquare(square); }
};

int probe(const BitbaseTable& table, int64_t index) {
    if (!table.loaded() || index < 0) return -1;
    return probeBitbase(table, index);
}

bool strongToMove(const Position& p, int strong) { return p.sideToMove == strong; }

} // namespace

int probeKpk(const Position& p, int strong) {
    View v{strong};
    int pawn = LowestSquare(p.Pieces(strong, Pawn));
    return probe(bitbases.kpk, kpkIndex(v(p.kingSquare[strong]), v(p.kingSquare[1 - strong]),
                                        v(pawn), strongToMove(p, strong)));
}

int probeKpkp(const Position& p, int strong) {
    View v{strong};
    int own = LowestSquare(p.Pieces(strong, Pawn));
    int other = LowestSquare(p.Pieces(1 - strong, Pawn));
    return probe(bitbases.kpkp, kpkpIndex(v(p.kingSquare[strong]), v(p.kingSquare[1 - strong]),
                                          v(own), v(other), strongToMove(p, strong)));
}

int probeKppk(const Position& p, int strong) {
    View v{strong};
    Bitboard pawns = p.Pieces(strong, Pawn);
    int a = PopLowest(pawns);
    int b = LowestSquare(pawns);
    return probe(bitbases.kppk, kppkIndex(v(p.kingSquare[strong]), v(p.kingSquare[1 - strong]),
                                          v(a), v(b), strongToMove(p, strong)));
}

int probeKppkp(const Position& p, int strong) {
    View v{strong};
    int lone = LowestSquare(p.Pieces(1 - strong, Pawn));
    int blocked = lone - PawnPush[strong]; // the strong pawn the lone pawn stands in front of
    Bitboard pawns = p.Pieces(strong, Pawn);
    if (blocked < 0 || blocked > 63 || !(pawns & SquareBB(blocked))) return -1;
    int free = LowestSquare(pawns & ~SquareBB(blocked));
    return probe(bitbases.kppkp, kppkpIndex(v(p.kingSquare[strong]), v(p.kingSquare[1 - strong]),
                                            v(free), v(lone), strongToMove(p, strong)));
}

int probeKpxk(const Position& p, int strong) {
    View v{strong};
    bool knight = p.Pieces(strong, Knight) != 0;
    int piece = LowestSquare(knight ? p.Pieces(strong, Knight) : p.Pieces(strong, Bishop));
    int pawn = LowestSquare(p.Pieces(strong, Pawn));
    return probe(knight ? bitbases.kpnk : bitbases.kpbk,
                 kpxkIndex(v(p.kingSquare[strong]), v(p.kingSquare[1 - strong]), v(pawn), v(piece),
                           strongToMove(p, strong)));
}

int probeKpkq(const Position& p, int strong) {
    View v{strong};
    int pawn = LowestSquare(p.Pieces(strong, Pawn));
    int queen = LowestSquare(p.Pieces(1 - strong, Queen));
    return probe(bitbases.kpkq, kpkqIndex(v(p.kingSquare[strong]), v(p.kingSquare[1 - strong]),
                                          v(pawn), v(queen), strongToMove(p, strong)));
}

int probeKpkr(const Position& p, int strong) {
    if (!bitbases.kpkr.loaded()) return -1;
    View v{strong};
    int king = v(p.kingSquare[strong]), other = v(p.kingSquare[1 - strong]);
    int pawn = v(LowestSquare(p.Pieces(strong, Pawn)));
    int rook = v(LowestSquare(p.Pieces(1 - strong, Rook)));
    bool toMove = strongToMove(p, strong);
    int row = RowOf(pawn);
    if (row == 5 || row == 6) {
        // Only the pushed position is in the table: a third-rank pawn steps to the fourth, a
        // second-rank pawn double-steps there (a single step would land on an index that
        // belongs to a seventh-rank pawn).
        if (!toMove) return -1;
        Bitboard occupied = SquareBB(king) | SquareBB(other) | SquareBB(rook);
        int target = MakeSquare(FileOf(pawn), 4);
        for (int s = pawn - 8; s >= target; s -= 8)
            if (occupied & SquareBB(s)) return -1;
        if (RookAttacks(rook, occupied | SquareBB(target)) & SquareBB(king)) return -1;
        pawn = target;
        toMove = false;
    }
    return probe(bitbases.kpkr, kpkrIndex(king, other, pawn, rook, toMove));
}

int probePawnRace(const Position& p, int racing, int pawn) {
    if (!bitbases.pawnRace.loaded()) return -1;
    View v{racing};
    int32_t entry = pawnRaceEntry(v(p.kingSquare[racing]), v(p.kingSquare[1 - racing]), v(pawn));
    if (entry < 0) return -1;
    int64_t bit = 4 * int64_t(entry) + 2 * int64_t(p.sideToMove == racing);
    int known = probeBitbase(bitbases.pawnRace, bit);
    int direct = probeBitbase(bitbases.pawnRace, bit + 1);
    if (known < 0 || direct < 0) return -1;
    return known | direct << 1;
}

} // namespace corvid
