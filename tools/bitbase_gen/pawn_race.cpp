#include "pawn_race.h"

#include "chess/bitboard.h"
#include "chess/types.h"

#include <cstddef>

namespace corvid::bitbase_gen {

PawnRace::PawnRace() : memo_(std::size_t(64) * 64 * 64 * 2 * 2, -1) {}

bool PawnRace::promotes(int pawn, int racingKing, int otherKing, bool racingToMove, int kingMoves) {
    return search(pawn, racingKing, otherKing, racingToMove, kingMoves);
}

namespace {

// After promotion on `queen`, with the other king to move: it must neither take the queen
// nor be stalemated.
bool queenSafe(int queen, int king, int other) {
    uint64_t occupancy = SquareBB(queen) | SquareBB(king);
    uint64_t guarded = QueenAttacks(queen, occupancy) | KingAttacks[king];
    uint64_t flights = KingAttacks[other] & ~guarded & ~SquareBB(king);
    if (flights & SquareBB(queen)) return false; // undefended queen next to the king
    bool inCheck = (guarded >> other) & 1;
    return flights != 0 || inCheck;
}

} // namespace

bool PawnRace::search(int pawn, int king, int other, bool racingToMove, int kingMoves) {
    std::size_t key =
        ((((std::size_t(pawn) * 64 + std::size_t(king)) * 64 + std::size_t(other)) * 2 +
          std::size_t(racingToMove)) *
         2) +
        std::size_t(kingMoves);
    if (memo_[key] >= 0) return memo_[key] != 0;
    bool result = false;
    uint64_t occupied = SquareBB(king) | SquareBB(other);
    if (racingToMove) {
        int stop = pawn - 8;
        if (!(occupied >> stop & 1)) {
            if (RowOf(stop) == 0)
                result = queenSafe(stop, king, other);
            else
                result = search(stop, king, other, false, kingMoves);
            int jump = stop - 8;
            if (!result && RowOf(pawn) == 6 && !(occupied >> jump & 1))
                result = search(jump, king, other, false, kingMoves);
        }
        bool onPath = FileOf(king) == FileOf(pawn) && RowOf(king) < RowOf(pawn);
        if (!result && kingMoves > 0 && onPath) {
            uint64_t targets = KingAttacks[king] & ~KingAttacks[other] & ~SquareBB(pawn);
            while (targets && !result)
                result = search(pawn, PopLowest(targets), other, false, kingMoves - 1);
        }
    } else {
        // Every move of the other king must still lose the race; taking the pawn wins it.
        uint64_t targets =
            KingAttacks[other] & ~KingAttacks[king] & ~SquareBB(king) & ~PawnAttacks[Black][pawn];
        if (targets & SquareBB(pawn)) {
            result = false;
        } else if (!targets) {
            // Stalemate ends the race drawn; the pawn alone never mates.
            result = false;
        } else {
            result = true;
            while (targets && result)
                result = search(pawn, king, PopLowest(targets), true, kingMoves);
        }
    }
    memo_[key] = int8_t(result);
    return result;
}

} // namespace corvid::bitbase_gen
