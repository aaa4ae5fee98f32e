#include "eval/piece_activity.h"

#include "chess/eval_masks.h"
#include "eval/eval_helpers.h"
#include "eval/eval_tables.h"
#include "eval/king_safety.h"
#include "eval/search_personality.h"

#include <algorithm>

namespace corvid {

using namespace evaldata;

namespace {

// A square as seen by the side: White's squares unchanged, Black's mirrored.
constexpr int Relative(int side, int square) {
    return side == White ? square : MirrorSquare(square);
}

int Span(int low, int high) { return std::max(high - low, 0); }

void keepValue(ListedPiece& piece, ScorePair value) {
    piece.valueMg = int16_t(value.mg);
    piece.valueEg = int16_t(value.eg);
}

int AllPawnSpan(const PawnCacheEntry& e) {
    return Span(std::min(e.lowFile[White], e.lowFile[Black]),
                std::max(e.highFile[White], e.highFile[Black]));
}

// How the knights of the side fare with this pawn structure (pawns only, so cached).
ScorePair KnightPawnPair(int side, const Position& p, PawnCacheEntry& e) {
    ScorePair& slot = e.minorSlots[KnightWhite + side];
    if (slot.mg != SlotNotComputed) return slot;
    int them = side ^ 1;
    int enemySpan = Span(e.lowFile[them], e.highFile[them]);
    int eg = (KnightPawnSpan[enemySpan] + KnightPawnSpan[AllPawnSpan(e)]) / 2 + 10 +
             2 * (PopCount(e.fixedPawns) - 4 * PopCount(e.passed[them]) - e.openFileCount);
    (void)p;
    slot = {0, eg};
    return slot;
}

// How a bishop of the side on squares of one colour fares with the pawns (cached).
ScorePair BishopColourPair(int side, bool light, const Position& p, PawnCacheEntry& e) {
    ScorePair& slot = e.minorSlots[BishopWhiteLight + 2 * side + (light ? 0 : 1)];
    if (slot.mg != SlotNotComputed) return slot;
    int them = side ^ 1;
    Bitboard colour = light ? LightSquares : DarkSquares;
    Bitboard ownPawns = p.Pieces(side, Pawn), enemyPawns = p.Pieces(them, Pawn);
    Bitboard ownFixed = ownPawns & e.fixedPawns & colour;
    Bitboard enemyAnchored =
        enemyPawns & colour & e.fixedPawns & WideCentre & PawnAttackSet(them, enemyPawns);
    int mg = 3 * (6 - PopCount(enemyAnchored) - PopCount(ownFixed & Centre) -
                  PopCount(ownFixed & WideCentre) - PopCount(ownFixed)) -
             2 * PopCount(ownPawns & colour);
    slot = {mg, mg + BishopPawnSpan[AllPawnSpan(e)] - 8};
    return slot;
}

int KnightCornerTrap(int side, int q, const Position& p) {
    int them = side ^ 1;
    Bitboard enemyPawns = p.Pieces(them, Pawn);
    int enemyKing = p.kingSquare[them];
    // Corner, pawn in front of it, square the king guards, pawn that closes the trap.
    constexpr int Traps[2][4] = {{0, 8, 10, 9}, {7, 15, 13, 14}};
    for (const auto& trap : Traps) {
        if (q != Relative(side, trap[0])) continue;
        if ((enemyPawns & SquareBB(Relative(side, trap[1]))) &&
            (KingAttacks[Relative(side, trap[2])] & SquareBB(enemyKing)))
            return (enemyPawns & SquareBB(Relative(side, trap[3]))) ? -64 : -32;
    }
    return 0;
}

int TrappedBishop(int side, int q, const Position& p) {
    int them = side ^ 1;
    Bitboard enemyPawns = p.Pieces(them, Pawn);
    int enemyKing = p.kingSquare[them];
    // Bishop square, pawn that shuts it in, pawn that seals the exit, square next to the king.
    constexpr int Traps[2][4] = {{8, 17, 10, 9}, {15, 22, 13, 14}};
    for (const auto& trap : Traps) {
        if (q != Relative(side, trap[0]) || !(enemyPawns & SquareBB(Relative(side, trap[1]))))
            continue;
        if (enemyPawns & SquareBB(Relative(side, trap[2]))) return -100;
        if (KingAttacks[Relative(side, trap[3])] & SquareBB(enemyKing)) return -75;
        return -50;
    }
    return 0;
}

ScorePair MinorPieces(int side, const Position& p, PawnCacheEntry& e, EvalDetail& detail) {
    int them = side ^ 1;
    SideAttackInfo& ours = detail.side[side];
    Bitboard ownPawns = p.Pieces(side, Pawn), enemyPawns = p.Pieces(them, Pawn);
    Bitboard ownKnights = p.Pieces(side, Knight);
    ScorePair total{};
    for (int i = 0; i < ours.pieceCount; ++i) {
        ListedPiece& piece = ours.pieces[i];
        if (piece.type > Bishop) continue;
        int q = piece.square;
        bool noEnemyPawnAhead = !(enemyPawns & AdjacentAhead[side][q]);
        bool defended = (ownPawns & PawnAttacks[side][q]) != 0;
        if (piece.type == Knight) {
            Bitboard counted = piece.attacks & (ours.mobilityArea | ownKnights) & ~Corners;
            int mobility = KnightMobility[PopCountSmall(counted)];
            ours.mobilitySum += mobility;
            int value = mobility + 3 * PopCountSmall(counted & WideCentre);
            bool strandedTest = true;
            if (noEnemyPawnAhead) {
                if (defended) {
                    value += OutpostValue[side][q];
                    ours.outpostFiles |= uint8_t(1 << FileOf(q));
                    strandedTest = false;
                } else {
                    value += OutpostValue[side][q] / 2;
                }
            }
            int stranded = 0;
            int row = RelativeRow(side, q);
            if (strandedTest && row >= 5 && !(counted & RelativeRowMask(side, row - 2)) &&
                !(counted & ours.pawnAttacks))
                stranded = -20;
            value += KnightCornerTrap(side, q, p);
            ScorePair own = ScorePair{value + stranded, value} + KnightPawnPair(side, p, e);
            keepValue(piece, own);
            total += own;
        } else {
            Bitboard counted = piece.attacks & (ours.mobilityArea | ownKnights);
            int mobility = BishopMobility[PopCountSmall(counted)];
            ours.mobilitySum += mobility;
            int blocking =
                PopCountSmall(ours.blockedPawns & ForwardDiagonals[side][q] & piece.attacks);
            int value = mobility + 4 * (PopCountSmall(counted & Centre) - blocking);
            if (noEnemyPawnAhead && defended) {
                value += OutpostValue[side][q] / 2;
                ours.outpostFiles |= uint8_t(1 << FileOf(q));
            }
            value += TrappedBishop(side, q, p);
            bool light = (LightSquares & SquareBB(q)) != 0;
            ScorePair own = ScorePair{value, value} + BishopColourPair(side, light, p, e);
            keepValue(piece, own);
            total += own;
        }
    }
    return total;
}

int RookFileTerm(int side, int file, const Position& p, const PawnCacheEntry& e,
                 const EvalDetail& detail) {
    int them = side ^ 1;
    uint8_t flags = e.fileFlags[file];
    bool enemyOutpost = (detail.side[them].outpostFiles >> file) & 1;
    bool noOwnPawn = flags & NoPawnFlag[side], noEnemyPawn = flags & NoPawnFlag[them];
    if (noOwnPawn && noEnemyPawn) return enemyOutpost ? 4 : 14;
    if (!noOwnPawn) return 0;
    if (!enemyOutpost && (flags & WeakPawnFlag[them])) return 6;
    Bitboard enemyPawns = p.Pieces(them, Pawn);
    if (enemyPawns & FileMask[file] & PawnAttackSet(them, enemyPawns)) return 0;
    return 4;
}

// Penalty for a rook boxed in beside its own uncastled king.
int ShutInRook(int side, int q, const Position& p, const PawnCacheEntry& e) {
    int file = FileOf(q);
    uint8_t flags = e.fileFlags[file];
    bool noPawns = (flags & NoWhitePawn) && (flags & NoBlackPawn);
    int rights = SideCastleRights(p, side);
    int king = p.kingSquare[side];
    if (noPawns || rights == 3 || p.pawnCount[side] < 4) return 0;
    if (RelativeRow(side, king) != 0 || RelativeRow(side, q) > 1) return 0;
    int kingFile = FileOf(king);
    bool kingSide =
        kingFile >= 4 && file >= 5 && file > kingFile && file - kingFile <= 3 && !(rights & 1);
    bool queenSide =
        kingFile <= 3 && file <= 2 && file < kingFile && kingFile - file <= 3 && !(rights & 2);
    if (!kingSide && !queenSide) return 0;
    if (RelativeRow(side, q) != 0 && !(p.Pieces(side, Pawn) & WideNeighbours[q])) return 0;
    if (flags & NoPawnFlag[side]) return 18;
    return rights ? 18 : 36;
}

ScorePair RooksAndQueens(int side, const Position& p, const PawnCacheEntry& e, EvalDetail& detail) {
    int them = side ^ 1;
    SideAttackInfo& ours = detail.side[side];
    const SideAttackInfo& theirs = detail.side[them];
    Bitboard ownPawns = p.Pieces(side, Pawn), enemyPawns = p.Pieces(them, Pawn);
    Bitboard ownRooks = p.Pieces(side, Rook);
    // Relative ranks 5 to 8.
    Bitboard farHalf = side == White ? 0x00000000FFFFFFFFULL : 0xFFFFFFFF00000000ULL;
    ScorePair total{};
    for (int i = 0; i < ours.pieceCount; ++i) {
        ListedPiece& piece = ours.pieces[i];
        int q = piece.square;
        if (piece.type == Rook) {
            int file = FileOf(q);
            int fileTerm = RookFileTerm(side, file, p, e, detail);
            Bitboard counted = piece.attacks & (ours.mobilityArea | ownRooks) &
                               ~(theirs.knightAttacks | theirs.bishopAttacks);
            int mobility = RookMobility[PopCountSmall(counted)];
            if (counted & e.openFiles & ~FileMask[file]) mobility += 4;
            ours.mobilitySum += mobility;
            int value = mobility + fileTerm;
            if (ownPawns & e.fixedPawns & FileMask[file]) value -= 8;
            int mgExtra = 0, egExtra = 0;
            Bitboard passedAhead = ForwardFile[side][q] & e.passed[side];
            if (passedAhead) {
                egExtra += 8;
                if (passedAhead & farHalf) mgExtra += 4;
            }
            if (ForwardFile[them][q] & e.passed[them]) {
                mgExtra += 4;
                egExtra += 8;
            }
            if (RelativeRow(side, q) >= 5 && (ownPawns & PawnAttacks[side][q]) &&
                !(enemyPawns & AdjacentAhead[side][q]))
                mgExtra += 12;
            mgExtra -= ShutInRook(side, q, p, e);
            int mg = value + mgExtra;
            ScorePair own{mg, mg + egExtra};
            keepValue(piece, own);
            total += own;
        } else if (piece.type == Queen) {
            int v = 0;
            bool pinned = (p.blockers[side] & SquareBB(q)) != 0;
            Bitboard lesserAttacks = theirs.pawnAttacks | theirs.knightAttacks |
                                     theirs.bishopAttacks | theirs.rookAttacks;
            if (pinned && (lesserAttacks & SquareBB(q))) v -= 45;
            if (KnightAttacks[q] & theirs.knightAttacks & theirs.mobilityArea) v -= pinned ? 16 : 8;
            Bitboard snipers =
                (BishopPseudo[q] & p.Pieces(them, Bishop)) | (RookPseudo[q] & p.Pieces(them, Rook));
            while (snipers) {
                Bitboard between = BetweenMask[q][PopLowest(snipers)] & p.occupied;
                if (between && !MoreThanOne(between) && !(between & p.pieceBB[Pawn])) {
                    v -= 25;
                    break;
                }
            }
            v += QueenMobility[PopCount(piece.attacks & ~p.colourBB[side] & ~lesserAttacks)];
            keepValue(piece, {v, v});
            total += ScorePair{v, v};
        }
    }
    return total;
}

ScorePair Placement(int side, const Position& p) {
    int them = side ^ 1;
    Bitboard rooks = p.Pieces(side, Rook);
    bool kingOnBackRank = RelativeRow(side, p.kingSquare[them]) == 7;
    int onSeventh = PopCountSmall(rooks & RelativeRowMask(side, 6));
    int value = 0;
    if (onSeventh == 1)
        value += kingOnBackRank ? 10 : 0;
    else if (onSeventh >= 2)
        value += kingOnBackRank ? 40 : 16;
    if (MoreThanOne(rooks & RelativeRowMask(side, 7))) value += 12;
    Bitboard minors = p.Pieces(side, Knight) | p.Pieces(side, Bishop);
    Bitboard sheltered =
        minors & ShiftBackward(side, p.Pieces(side, Pawn)) & ~RelativeRowMask(side, 0);
    return {value + 8 * PopCountSmall(sheltered), value};
}

} // namespace

ScorePair threatTerm(int side, const Position& p, const EvalDetail& detail) {
    int us = side, them = side ^ 1;
    const SideAttackInfo& ours = detail.side[us];
    const SideAttackInfo& theirs = detail.side[them];
    Bitboard ownPawns = p.Pieces(us, Pawn);
    Bitboard enemy = p.colourBB[them];
    Bitboard enemyPawns = p.Pieces(them, Pawn);
    Bitboard enemyUnits = enemy & ~enemyPawns; // pieces and king
    Bitboard enemyHeavy = p.Straight(them);
    Bitboard enemyQueens = p.Pieces(them, Queen);

    Bitboard safe = (ours.allAttacks & ~theirs.doubleAttacks) | ours.doubleAttacks |
                    ~theirs.allAttacks | ours.pawnAttacks;
    Bitboard safePawnHits = PawnAttackSet(us, ownPawns & safe);
    Bitboard aTargets = enemyUnits & safePawnHits;

    Bitboard empty = ~p.occupied;
    Bitboard single = ShiftForward(us, ownPawns) & empty;
    Bitboard twice = ShiftForward(us, single & RelativeRowMask(us, 2)) & empty;
    Bitboard pushes = (single | twice) & safe;
    int pushCount = PopCount(pushes & ~RelativeRowMask(us, 2));
    Bitboard pushHits = PawnAttackSet(us, pushes);
    Bitboard bTargets = enemyUnits & pushHits;

    Bitboard minorHits = ours.knightAttacks | ours.bishopAttacks;
    Bitboard cTargets = (enemyHeavy & minorHits) | (enemyQueens & ours.rookAttacks);

    Bitboard unanswered = ~theirs.pawnAttacks & ((ours.doubleAttacks & ~theirs.doubleAttacks) |
                                                 (ours.allAttacks & ~theirs.allAttacks));
    Bitboard dTargets = enemyUnits & unanswered & ~aTargets & ~cTargets;
    Bitboard eTargets = enemyPawns & unanswered;
    Bitboard gTargets = enemy & ours.allAttacks & ~theirs.pawnAttacks & ~unanswered &
                        (ours.doubleAttacks | ~theirs.doubleAttacks);
    Bitboard pinnedEnemy = p.blockers[them] & enemy;
    Bitboard hTargets =
        pinnedEnemy & (safePawnHits | pushHits | minorHits | (ours.rookAttacks & enemyQueens));
    Bitboard kTargets =
        enemy & ~p.pieceBB[King] & KingAttacks[p.kingSquare[us]] & ~theirs.pawnAttacks;

    // The heavy pieces, the pawns, the pinned pieces and the squares beside a king are never
    // more than 15 squares: the short count is exact for them.
    int mg = 40 * PopCount(aTargets) + 2 * pushCount + 6 * PopCount(bTargets) +
             20 * PopCountSmall(cTargets) + ((cTargets & enemyQueens) ? 20 : 0) +
             12 * PopCount(dTargets) + 8 * PopCountSmall(eTargets) + 5 * PopCount(gTargets) +
             25 * PopCountSmall(hTargets);
    int eg = mg + 5 * pushCount + 10 * PopCountSmall(kTargets);
    return {mg, eg};
}

ScorePair pieceActivityTerm(int side, const Position& p, PawnCacheEntry& e, EvalDetail& detail) {
    int us = side, them = side ^ 1;
    for (int c = 0; c < 2; ++c) {
        detail.side[c].mobilitySum = 0;
        detail.side[c].outpostFiles = 0;
    }
    Bitboard pinnedPawns[2];
    for (int c = 0; c < 2; ++c) pinnedPawns[c] = p.blockers[c] & p.Pieces(c, Pawn);
    // Pawn sets of one side: never more than 8 squares.
    int space = 4 * (2 * (PopCountSmall(pinnedPawns[them]) - PopCountSmall(pinnedPawns[us])) +
                     PopCountSmall(detail.side[them].blockedPawns & ~e.fixedPawns) -
                     PopCountSmall(detail.side[us].blockedPawns & ~e.fixedPawns));
    detail.space = us == White ? space : -space;

    // Minor pieces of both sides first: the rook file terms read the outpost files.
    for (int c = 0; c < 2; ++c) detail.minorPieces[c] = MinorPieces(c, p, e, detail);
    for (int c = 0; c < 2; ++c) {
        detail.rooksQueens[c] = RooksAndQueens(c, p, e, detail);
        detail.placement[c] = Placement(c, p);
    }
    for (int c = 0; c < 2; ++c) detail.threats[c] = threatTerm(c, p, detail);
    for (int c = 0; c < 2; ++c) detail.kingSafety[c] = kingSafety(c, p, e, detail);

    const SearchPersonality& weights = activePersonality;
    ScorePair pieces = detail.minorPieces[us] - detail.minorPieces[them] + detail.rooksQueens[us] -
                       detail.rooksQueens[them] + ScorePair{space, space} + detail.placement[us] -
                       detail.placement[them];
    ScorePair threats = detail.threats[us] - detail.threats[them];
    int king = ((detail.kingSafety[us] - detail.kingSafety[them]) * weights.kingSafetyWeight) / 100;
    return {king + (pieces.mg * weights.pieceWeight) / 100 + threats.mg,
            king + (pieces.eg * weights.pieceWeight) / 100 + threats.eg};
}

} // namespace corvid
