#include "eval/pawn_structure.h"

#include "chess/eval_masks.h"
#include "eval/eval_helpers.h"
#include "eval/eval_tables.h"
#include "eval/search_personality.h"

#include <algorithm>
#include <cstring>

namespace corvid {

using namespace evaldata;

namespace {

Bitboard AdjacentFiles(int file) {
    return (file > 0 ? FileMask[file - 1] : 0) | (file < 7 ? FileMask[file + 1] : 0);
}

// Which files hold pawns of which side, the open files and each side's pawn file span.
void FileSummary(const Position& p, PawnCacheEntry& e) {
    Bitboard pawns[2] = {p.Pieces(White, Pawn), p.Pieces(Black, Pawn)};
    for (int c = 0; c < 2; ++c) {
        e.lowFile[c] = 8;
        e.highFile[c] = 0;
    }
    for (int f = 0; f < 8; ++f) {
        uint8_t flags = 0;
        for (int c = 0; c < 2; ++c) {
            if (pawns[c] & FileMask[f]) {
                e.lowFile[c] = uint8_t(std::min<int>(e.lowFile[c], f));
                e.highFile[c] = uint8_t(std::max<int>(e.highFile[c], f));
            } else {
                flags |= NoPawnFlag[c];
            }
        }
        e.fileFlags[f] = flags;
        if (!((pawns[White] | pawns[Black]) & FileMask[f])) {
            e.openFiles |= FileMask[f];
            ++e.openFileCount;
        }
    }
}

// Classifies one side's pawns and sums their placement, structure and static passed values.
void EvaluatePawns(const Position& p, int us, PawnCacheEntry& e) {
    int them = us ^ 1;
    Bitboard own = p.Pieces(us, Pawn), enemy = p.Pieces(them, Pawn), all = own | enemy;
    e.passed[us] = 0;
    e.weakOnHalfOpen[us] = 0;
    e.passedSpread[us] = -11;
    if (!own) return;
    // Squares two enemy pawns attack at once: a weak pawn cannot advance onto them.
    Bitboard doublyAttacked = PawnAttacksLeft(them, enemy) & PawnAttacksRight(them, enemy);
    ScorePair structure{}, passedPair{};
    int lowPassed = 10, highPassed = -1, outside = 0;

    for (Bitboard b = own; b;) {
        int s = PopLowest(b), f = FileOf(s);
        for (int t = 0; t < PlacementTableCount; ++t) e.placement[t][us] += PawnPlacement[t][us][s];

        bool isolated = !(own & AdjacentFiles(f));
        bool blockedFile = (all & ForwardFile[us][s]) != 0;
        bool backward = false;
        Bitboard levelBehind = AdjacentLevelBehind[us][s];
        if (!(enemy & PassedPawnSpan[us][s]) && !blockedFile) {
            e.passed[us] |= SquareBB(s);
            int distance = std::max(f - e.highFile[them], e.lowFile[them] - f);
            if (distance > 1 && enemy) outside = std::max(outside, distance);
            lowPassed = std::min(lowPassed, f);
            highPassed = std::max(highPassed, f);
        } else if (isolated || (own & levelBehind)) {
            int helpers = PopCount(own & levelBehind) - PopCount(enemy & levelBehind);
            if (!blockedFile && PopCount(enemy & AdjacentAhead[us][s]) <= helpers) {
                passedPair.mg += CandidatePawnValue[us][s] / 2;
                passedPair.eg += CandidatePawnValue[us][s];
            }
        } else {
            // Own pawns only ahead on the adjacent files: walk up beside the pawn until an
            // own pawn could support it or an enemy pawn controls the way.
            for (Bitboard current = SideNeighbours[s]; current;) {
                Bitboard next = ShiftForward(us, current);
                if (next & enemy) {
                    backward = true;
                    break;
                }
                if (current & own) break;
                current = next;
            }
        }
        bool weak = isolated || backward;

        if (!(own & ForwardFile[us][s])) {
            int n = PopCount(own & FileMask[f]);
            structure.mg -= DoubledPenalty[n];
            structure.eg -= 2 * DoubledPenalty[n];
        }
        if (weak) {
            int penalty = isolated ? IsolatedPenalty[f] : BackwardPenalty[f];
            structure -= ScorePair{penalty, penalty};
            if (!(enemy & FileMask[f])) ++e.weakOnHalfOpen[us];
            e.fileFlags[f] |= WeakPawnFlag[us];
        } else {
            int defenders = PopCount(own & PawnAttacks[us][s]);
            int neighbours = PopCount(own & SideNeighbours[s]);
            if (defenders + neighbours == 0)
                structure -= ScorePair{SupportBonus[f], SupportBonus[f]};
            else if (defenders >= 2)
                structure += ScorePair{SupportBonus[f], SupportBonus[f]};
        }

        Bitboard stop = SquareBB(s + PawnPush[us]);
        bool stuck = (all & stop) || (weak && (doublyAttacked & stop));
        if (stuck && !(PawnAttacks[them][s] & enemy)) e.fixedPawns |= SquareBB(s);
    }

    e.passedSpread[us] = int8_t(highPassed - lowPassed);
    e.outsideDistance[us] = uint8_t(outside);
    for (Bitboard b = e.passed[us]; b;) {
        int s = PopLowest(b);
        int value = PassedPawnValue[us][s];
        Bitboard support = SideNeighbours[s] | PawnAttacks[us][s];
        int connected = (own & support) ? ConnectedPassedBonus[RowsToGo(us, s)] : 0;
        // Only half the bonus unless the supporting pawn is itself passed.
        if (!(e.passed[us] & support)) connected >>= 1;
        passedPair.eg += value + connected;
        passedPair.mg += (value * 66) / 100 + connected;
    }
    e.structure[us] = structure;
    e.staticPassed[us] = passedPair;
}

} // namespace

void computePawnEntry(const Position& p, PawnCacheEntry& e) {
    std::memset(static_cast<void*>(&e), 0, sizeof e);
    e.key = p.pawnKey;
    e.shelterKey[White] = e.shelterKey[Black] = -1;
    for (ScorePair& slot : e.minorSlots) slot = {SlotNotComputed, 0};
    FileSummary(p, e);
    EvaluatePawns(p, White, e);
    EvaluatePawns(p, Black, e);
    e.valid = 1;
}

PawnCacheEntry& probePawnEntry(const Position& p) {
    PawnCacheEntry& entry = pawnCacheSlot(p.pawnKey);
    if (entry.key != p.pawnKey || !entry.valid) computePawnEntry(p, entry);
    return entry;
}

int32_t pawnStructureTerm(int side, const Position& p, PawnCacheEntry*& entryOut, int32_t totals[2],
                          int phaseMaterial) {
    PawnCacheEntry& e = probePawnEntry(p);
    entryOut = &e;
    const SearchPersonality& weights = activePersonality;
    bool kingSide[2];
    for (int c = 0; c < 2; ++c)
        kingSide[c] = FileOf(p.kingSquare[c]) >= 4 && SideCastleRights(p, c) != 2;

    for (int us = 0; us < 2; ++us) {
        int them = us ^ 1;
        ScorePair structure = e.structure[us];
        if (p.Straight(them)) {
            structure.mg -= 8 * e.weakOnHalfOpen[us];
            structure.eg -= 12 * e.weakOnHalfOpen[us];
        }
        ScorePair passed = e.staticPassed[us];
        int table = kingSide[us]
                        ? (kingSide[them] ? PlacementBothKingSide : PlacementEnemyQueenSide)
                        : (kingSide[them] ? PlacementOwnQueenSide : PlacementBothQueenSide);
        int eg = e.placement[PlacementEndgame][us] + (weights.passedPawnWeight * passed.eg) / 100 +
                 (weights.pawnStructureWeight * structure.eg) / 100;
        int result = eg;
        if (phaseMaterial > 1100) {
            int mg = e.placement[table][us] + (weights.pawnStructureWeight * structure.mg) / 100 +
                     (weights.passedPawnWeight * passed.mg) / 100;
            if (phaseMaterial >= 2600) {
                result = mg;
            } else {
                int t = ((phaseMaterial - 1100) * 128) / 1500;
                result = eg + (t * (mg - eg)) / 128;
            }
        }
        totals[us] = result;
    }
    return totals[side] - totals[side ^ 1];
}

int32_t passedPawnTerm(int side, const Position& p, const PawnCacheEntry& e,
                       const EvalDetail& detail) {
    int us = side, them = side ^ 1;
    if (!e.passed[us]) return 0;
    int enemyMaterial = NonPawnMaterial(p, them);
    const int16_t* multiplier =
        enemyMaterial == 522 ? KingDistanceMultiplierRook : KingDistanceMultiplier;
    const SideAttackInfo& ours = detail.side[us];
    const SideAttackInfo& theirs = detail.side[them];
    Bitboard ownHeavy = p.Straight(us), enemyHeavy = p.Straight(them);
    int ownKing = p.kingSquare[us], enemyKing = p.kingSquare[them];
    ScorePair sum{};

    for (Bitboard b = e.passed[us]; b;) {
        int s = PopLowest(b);
        int r = RowsToGo(us, s);
        int stop = s + PawnPush[us];
        int kingTerm = 0;
        if (enemyMaterial <= 1800) {
            int own = Distance(ownKing, stop);
            // How far the enemy king stands behind the pawn (negative: in front of it).
            int behind = us == White ? RowOf(enemyKing) - RowOf(s) : RowOf(s) - RowOf(enemyKing);
            int enemy = std::max(std::abs(FileOf(enemyKing) - FileOf(s)), behind);
            kingTerm = (EnemyKingDistanceBonus[enemy] + OwnKingDistanceBonus[own]) * multiplier[r];
        }
        int path = 0;
        if (r <= 4) {
            PieceCode stopPiece = p.board[stop];
            if (stopPiece != Empty && ColourOf(stopPiece) == them) {
                path = StopBlockerBonus[TypeOf(stopPiece)] * 4;
            } else if (stopPiece != MakePiece(us, Rook)) {
                Bitboard rookReach = RookAttacks(s, p.occupied);
                Bitboard behindFile = ForwardFile[them][s];
                bool heldFromBehind = (behindFile & enemyHeavy) && (rookReach & enemyHeavy);
                if (!heldFromBehind) {
                    if (!(ForwardFile[us][s] & theirs.allAttacks))
                        path = FreePathUnit[r] * 18;
                    else if (!(SquareBB(stop) & theirs.allAttacks))
                        path = FreePathUnit[r] * 8;
                }
                bool pushedFromBehind = (behindFile & ownHeavy) && (rookReach & ownHeavy);
                if (pushedFromBehind || !(ForwardFile[us][s] & ~ours.allAttacks))
                    path += FreePathUnit[r] * 5 * 2;
                else if (SquareBB(stop) & ours.allAttacks)
                    path += FreePathUnit[r] * 3 * 2;
            }
        }
        sum += ScorePair{path, kingTerm + path};
    }
    int weight = activePersonality.passedPawnWeight;
    sum.mg = (sum.mg * weight) / 100;
    sum.eg = (sum.eg * weight) / 100;
    int value;
    if (enemyMaterial <= 600)
        value = sum.eg;
    else if (enemyMaterial >= 1800)
        value = sum.mg;
    else
        value = sum.eg + (((enemyMaterial - 600) * 128) / 1200 * (sum.mg - sum.eg)) / 128;
    return value / 4;
}

} // namespace corvid
