#include "eval/bitbase_index.h"

namespace corvid {

namespace {

// Mirrors a square when the deciding pawn stands on files e..h.
struct Wing {
    bool mirror;
    explicit Wing(int decidingPawn) : mirror(FileOf(decidingPawn) >= 4) {}
    int operator()(int square) const { return mirror ? MirrorFile(square) : square; }
};

bool onPawnRows(int pawn) { return RowOf(pawn) >= 1 && RowOf(pawn) <= 6; }

} // namespace

int32_t kpkIndex(int strongKing, int weakKing, int pawn, bool strongToMove) {
    if (!onPawnRows(pawn)) return -1;
    Wing w(pawn);
    int p = w(pawn);
    int pawnAndMove = 8 * RowOf(p) + 2 * FileOf(p) + int(strongToMove) - 8;
    return (pawnAndMove * 64 + w(weakKing)) * 64 + w(strongKing);
}

int32_t kpkpIndex(int strongKing, int weakKing, int strongPawn, int weakPawn, bool strongToMove) {
    if (!onPawnRows(strongPawn) || !onPawnRows(weakPawn)) return -1;
    Wing w(strongPawn);
    int entry = (((w(weakPawn) - 8) * 24 + PawnIndex(w(strongPawn))) * 64 + w(weakKing)) * 64 +
                w(strongKing);
    return int(strongToMove) + 2 * entry;
}

int32_t kppkIndex(int strongKing, int weakKing, int pawnA, int pawnB, bool strongToMove) {
    if (!onPawnRows(pawnA) || !onPawnRows(pawnB)) return -1;
    int first = pawnA < pawnB ? pawnA : pawnB;
    int second = pawnA < pawnB ? pawnB : pawnA;
    Wing w(first);
    int entry =
        (((w(second) - 8) * 24 + PawnIndex(w(first))) * 64 + w(weakKing)) * 64 + w(strongKing);
    return int(strongToMove) + 2 * entry;
}

int32_t kppkpIndex(int strongKing, int weakKing, int freePawn, int weakPawn, bool strongToMove) {
    if (!onPawnRows(freePawn) || !onPawnRows(weakPawn)) return -1;
    Wing w(freePawn);
    int entry =
        (((w(weakPawn) - 8) * 24 + PawnIndex(w(freePawn))) * 64 + w(weakKing)) * 64 + w(strongKing);
    return int(strongToMove) + 2 * entry;
}

int32_t kpxkIndex(int strongKing, int weakKing, int pawn, int piece, bool strongToMove) {
    if (!onPawnRows(pawn)) return -1;
    Wing w(pawn);
    int entry = ((PawnIndex(w(pawn)) * 64 + w(piece)) * 64 + w(strongKing)) * 64 + w(weakKing);
    return int(strongToMove) + 2 * entry;
}

int32_t kpkqIndex(int strongKing, int weakKing, int pawn, int queen, bool strongToMove) {
    Wing w(pawn);
    int code;
    switch (w(pawn)) {
    case 8:
        code = 0;
        break; // a7
    case 10:
        code = 2;
        break; // c7
    case 16:
        code = 4;
        break; // a6
    case 18:
        code = 6;
        break; // c6
    default:
        return -1;
    }
    int king = w(strongKing);
    if (RowOf(king) > 2) return -1;
    return ((8 * king + code + int(strongToMove)) * 64 + w(weakKing)) * 64 + w(queen);
}

int32_t kpkrIndex(int strongKing, int weakKing, int pawn, int rook, bool strongToMove) {
    if (RowOf(pawn) < 1 || RowOf(pawn) > 4) return -1;
    Wing w(pawn);
    return ((32 * w(strongKing) + 16 * int(strongToMove) + PawnIndex(w(pawn))) * 64 + w(weakKing)) *
               64 +
           w(rook);
}

int32_t pawnRaceEntry(int racingKing, int otherKing, int pawn) {
    if (!onPawnRows(pawn)) return -1;
    Wing w(pawn);
    return (PawnIndex(w(pawn)) * 64 + w(otherKing)) * 64 + w(racingKing);
}

} // namespace corvid
