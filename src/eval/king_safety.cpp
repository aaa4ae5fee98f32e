#include "eval/king_safety.h"

#include "chess/eval_masks.h"
#include "eval/eval_helpers.h"
#include "eval/eval_tables.h"

#include <algorithm>

namespace corvid {

using namespace evaldata;

namespace {

// The own pawn nearest the own back rank and the enemy pawn nearest it, of a set on one file:
// for White both are the highest square, for Black the lowest.
int NearestOwnBackRank(int side, Bitboard pawns) {
    return side == White ? HighestSquare(pawns) : LowestSquare(pawns);
}

int BackRankSquare(int side, int file) { return side == White ? 56 + file : file; }

// Shelter of own pawns minus storm of enemy pawns on the three files around the square.
int ShelterAt(int side, int king, const Position& p, const PawnCacheEntry& e) {
    int them = side ^ 1;
    int centreFile = std::clamp(FileOf(king), 1, 6);
    Bitboard zone =
        PassedPawnSpan[side][MakeSquare(centreFile, RowOf(king))] | WideNeighbours[king];
    Bitboard own = p.Pieces(side, Pawn) & zone, enemy = p.Pieces(them, Pawn) & zone;
    int inFront = king + PawnPush[side];
    int value = 0;
    for (int file = centreFile - 1; file <= centreFile + 1; ++file) {
        Bitboard ownOnFile = own & FileMask[file];
        if (ownOnFile) {
            value += ShelterValue[side][NearestOwnBackRank(side, ownOnFile)];
        } else {
            value += ShelterValue[side][BackRankSquare(side, file)];
            if (file == centreFile) value -= 2;
        }
        Bitboard enemyOnFile = enemy & FileMask[file];
        if (enemyOnFile) {
            int storm = NearestOwnBackRank(side, enemyOnFile);
            if (!(e.fixedPawns & SquareBB(storm)) && storm != inFront)
                value -= StormValue[side][storm];
        } else {
            value -= StormValue[side][BackRankSquare(side, file)];
        }
    }
    if (RelativeRow(side, king) != 0) value -= 2;
    return value;
}

// Up to two squares beside the king on its own rank, toward the h-file (+1) or the a-file (-1).
Bitboard CastlingRoom(int king, int direction) {
    Bitboard room = 0;
    for (int step = 1; step <= 2; ++step) {
        int file = FileOf(king) + direction * step;
        if (file >= 0 && file < 8) room |= SquareBB(king + direction * step);
    }
    return room;
}

// Files from the king's file to the span of all pawns (0 inside the span).
int DistanceToPawnSpan(int file, Bitboard pawns) {
    int low = 8, high = -1;
    for (int f = 0; f < 8; ++f) {
        if (pawns & FileMask[f]) {
            low = std::min(low, f);
            high = std::max(high, f);
        }
    }
    if (file < low) return low - file;
    if (file > high) return file - high;
    return 0;
}

} // namespace

int32_t kingShelter(int side, const Position& p, PawnCacheEntry& e) {
    int king = p.kingSquare[side];
    int rights = SideCastleRights(p, side);
    int16_t key = int16_t(rights * 64 + king);
    if (e.shelterKey[side] == key) return e.shelterValue[side];
    int value = ShelterAt(side, king, p, e);
    // With castling still possible the shelter of the castled king counts half. The king's
    // castling target stays on the board even for a Chess960 king near the edge.
    int rankStart = king & 56;
    int best = -100;
    if (rights & 1) best = ShelterAt(side, rankStart + 6, p, e);
    if (rights & 2) best = std::max(best, ShelterAt(side, rankStart + 2, p, e));
    value = std::max(value, (value + best) / 2);
    e.shelterKey[side] = key;
    e.shelterValue[side] = int16_t(value);
    return value;
}

int32_t kingActivity(int side, const Position& p, const EvalDetail& detail) {
    int them = side ^ 1;
    int king = p.kingSquare[side];
    Bitboard moves = KingAttacks[king] & ~KingAttacks[p.kingSquare[them]] & ~p.colourBB[side] &
                     ~detail.side[them].allAttacks;
    int value = KingActivityCentre[PopCountSmall(moves & WideCentre)] +
                KingActivitySquares[PopCountSmall(moves)];
    if (p.pieceCount[them] && p.pieceBB[Pawn]) {
        int d = DistanceToPawnSpan(FileOf(king), p.pieceBB[Pawn]);
        value -=
            NonPawnMaterial(p, them) == 522 ? KingSpanDistanceLoneRook[d] : KingSpanDistance[d];
    }
    return value;
}

int32_t kingSafety(int side, const Position& p, PawnCacheEntry& e, const EvalDetail& detail,
                   KingSafetyBreakdown* breakdown) {
    int them = side ^ 1;
    const SideAttackInfo& ours = detail.side[side];
    const SideAttackInfo& theirs = detail.side[them];
    int king = p.kingSquare[side];
    int attackerMaterial = NonPawnMaterial(p, them) + (p.Pieces(them, Queen) ? 330 : 0) +
                           (MoreThanOne(p.Pieces(them, Rook)) ? 150 : 0);
    if (attackerMaterial < 1400) {
        int activity = kingActivity(side, p, detail);
        if (breakdown) {
            *breakdown = KingSafetyBreakdown{};
            breakdown->attackerMaterial = attackerMaterial;
            breakdown->activityOnly = true;
            breakdown->activity = breakdown->result = activity;
        }
        return activity;
    }

    int shelter = kingShelter(side, p, e);
    Bitboard nearZone = KingAttacks[king] | SquareBB(king);
    Bitboard block = KingBlock[king];
    int attackers = 0, weight = 0, zoneHits = 0, checks = 0;
    if (theirs.pawnAttacks & nearZone) {
        attackers = 3;
        weight = 2;
    } else if (theirs.pawnAttacks & block) {
        attackers = 1;
        weight = 1;
    }

    Bitboard ownPawns = p.Pieces(side, Pawn);
    Bitboard pieceGuarded =
        ours.knightAttacks | ours.bishopAttacks | ours.rookAttacks | ours.pawnAttacks;
    Bitboard weakSquares =
        ~pieceGuarded & (~(KingAttacks[king] | ours.queenAttacks) | theirs.doubleAttacks);
    Bitboard pawnSafe = PawnAttacksLeft(side, ownPawns) & PawnAttacksRight(side, ownPawns);
    Bitboard unguarded = ~(ours.pawnAttacks | p.Pieces(them, Pawn));
    Bitboard wideArea = WideKingArea[side][king] & unguarded;
    Bitboard widestArea = WidestKingArea[side][king] & unguarded;
    Bitboard checkFrom[5] = {0, KnightAttacks[king], BishopAttacks(king, p.occupied),
                             RookAttacks(king, p.occupied), 0};
    checkFrom[Queen] = checkFrom[Bishop] | checkFrom[Rook];
    int kingFile = FileOf(king);
    Bitboard kingFileMask = FileMask[kingFile];
    Bitboard kingFiles =
        kingFileMask | ((kingFileMask & NotFileH) << 1) | ((kingFileMask & NotFileA) >> 1);

    for (int i = 0; i < theirs.pieceCount; ++i) {
        const ListedPiece& piece = theirs.pieces[i];
        int type = piece.type;
        Bitboard reach = piece.attacks & ~theirs.blockedPawns & ~pawnSafe;
        int u = 0;
        if (reach & block) {
            weight += KingBlockAttackWeight[type - Knight];
            zoneHits += 2 * PopCountSmall(reach & block);
            u = 4;
        } else if (reach & wideArea) {
            weight += WideAreaAttackWeight[type - Knight];
            zoneHits += PopCount(reach & wideArea);
            u = 2;
        } else if (type == Knight) {
            if (reach & widestArea) {
                weight += 1;
                zoneHits += 1;
                u = 1;
            }
        } else if (type == Rook) {
            int file = FileOf(piece.square), fileDistance = std::abs(file - kingFile);
            uint8_t flags = e.fileFlags[file];
            bool noEnemyPawn = (flags & NoPawnFlag[them]) != 0;
            bool noPawns = noEnemyPawn && (flags & NoPawnFlag[side]);
            if ((fileDistance <= 2 || (reach & RowMask[RowOf(king)])) && noEnemyPawn) {
                bool ownPawnsOnly = !noPawns;
                if (!((ownPawnsOnly && fileDistance == 2) || (noPawns && fileDistance == 3))) {
                    weight += 3;
                    zoneHits += 1;
                }
                u = 1;
            } else if (reach & kingFiles & e.openFiles) {
                u = 1;
            }
        } else if (type == Queen) {
            u = 1;
            if (reach & widestArea) {
                u = 2;
                zoneHits += 1;
            }
        }

        Bitboard checkSquares = checkFrom[type] & piece.attacks & ~p.colourBB[them];
        Bitboard safe = checkSquares & weakSquares;
        Bitboard unsafe = checkSquares & ~weakSquares & ~ours.pawnAttacks;
        if (type == Queen) {
            Bitboard queenGuarded = safe & ours.queenAttacks;
            safe ^= queenGuarded;
            unsafe |= queenGuarded;
        }
        if (safe) {
            if (type == Bishop) {
                checks += 2;
            } else {
                int n = PopCount(safe & ~p.occupied) + 2 * PopCount(safe & p.colourBB[side]);
                checks += SafeCheckValue[std::min(n, 5)] + (type == Rook ? 1 : 0);
            }
            u = std::min(u + 3, 4);
        } else if (unsafe) {
            checks += type == Bishop ? 1 : 2;
            u = std::max(u, 1);
        }
        attackers += u;
        if (type == Queen && u > 1) attackers += 2;
    }

    Bitboard zone = block & ~SquareBB(king);
    int defence = PopCountSmall(p.colourBB[side] & zone) + ours.minorGuards;
    defence += std::min((PopCountSmall(zone & ours.rookAttacks) + 1) / 2, 2);
    defence += std::min((PopCountSmall(zone & ours.queenAttacks) + 1) / 2, 2);
    Bitboard flight = KingAttacks[king] & ~theirs.allAttacks & ~p.colourBB[side];

    int mult = (-3 * defence) / 8 - (ours.mobilitySum - theirs.mobilitySum) / 24 - shelter / 8 + 10;
    mult = std::clamp(mult, 5, 12);
    // An enemy piece that can step out of a line to the king threatens a discovered attack.
    Bitboard discoverers =
        p.blockers[side] & p.colourBB[them] & ~(p.pieceBB[Pawn] & FileMask[kingFile]);
    if (discoverers) {
        checks += 3;
        zoneHits += 3;
    }
    // Promoted pieces can push the attacker count past the end of the multiplier table.
    int count = std::min(attackers, 47);
    int attackSum = checks + zoneHits + weight;
    int attack = (attackSum * AttackerCountMultiplier[count] * mult) / 44 + (5 - defence) * 2;
    attack = std::clamp(attack, 0, 240);

    int value = shelter - 30 + KingFlightBonus[PopCountSmall(flight)] - attack;
    int rights = SideCastleRights(p, side);
    Bitboard blocked = theirs.allAttacks | p.colourBB[side];
    if (((rights & 1) && !(CastlingRoom(king, 1) & blocked)) ||
        ((rights & 2) && !(CastlingRoom(king, -1) & blocked)))
        value += 12;

    int result;
    int activity = attackerMaterial < 2000 ? kingActivity(side, p, detail) : 0;
    if (attackerMaterial >= 2300)
        result = value;
    else
        result = activity + ((attackerMaterial - 1200) * 128 / 1100 * (value - activity)) / 128;

    if (RelativeRow(side, king) == 0) {
        Bitboard backRank = RelativeRowMask(side, 0);
        Bitboard upper = KingAttacks[king] & ~backRank;
        if (!(theirs.pawnAttacks & KingAttacks[king])) {
            if (e.openFileCount >= 2 && !(flight & ~backRank) && !(upper & ~ownPawns)) result -= 12;
        } else {
            int n = PopCountSmall(upper & ~theirs.pawnAttacks & ~p.colourBB[side]);
            if (n < 2) result -= BackRankFlightPenalty[n];
        }
    }
    if (breakdown)
        *breakdown = {
            attackerMaterial,      false, shelter,   attackers, weight, zoneHits, checks, defence,
            PopCountSmall(flight), mult,  attackSum, attack,    value,  activity, result};
    return result;
}

} // namespace corvid
