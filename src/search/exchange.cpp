#include "search/exchange.h"

#include "chess/attacks.h"

namespace corvid {

namespace {

// What a promotion adds to the mover's prospects in the exchange test.
constexpr int PromotionGain = 884;

} // namespace

bool seeAtLeastFrom(const Position& p, int moverType, int from, Bitboard vacated, int to,
                    int threshold) {
    const int us = p.sideToMove, them = us ^ 1;
    const int b = PieceValue[moverType];
    const int d = CapturedValue(p, to) - threshold;
    const bool promotionRow = (SquareBB(to) & PromotionRows) != 0;
    const int g = moverType == Pawn && promotionRow ? PromotionGain : 0;

    // Step 1. Winning enough even if the mover is lost.
    if (d >= b) return true;
    Bitboard occupancy = p.occupied & ~vacated & ~SquareBB(from);
    Bitboard ownPawns = p.Pieces(us, Pawn) & occupancy;
    Bitboard enemyPinned = p.blockers[them] & p.colourBB[them];
    // Steps 2 to 6 at once for the common case of a free enemy pawn recapturing: the pawn
    // decides unless an own pawn keeps a promotion square (the answer is the same, only the
    // sliders' attacks need not be looked up).
    Bitboard pawnRecaptures =
        PawnAttacks[them][to] & p.Pieces(them, Pawn) & occupancy & ~enemyPinned;
    if (pawnRecaptures && moverType != King && d + PieceValue[Pawn] < b &&
        !(promotionRow && (PawnAttacks[us][to] & ownPawns)))
        return false;
    // Step 2. The opponent's attackers, with the mover's square emptied.
    Bitboard attackers = AttackersUnder(p, to, them, true, occupancy) & occupancy;
    if (!attackers) return true;
    // Step 3. A king never walks into a defended square.
    if (moverType == King) return false;
    // Step 4. Pieces pinned to their king do not recapture.
    attackers &= ~enemyPinned;
    if (!attackers) return true;
    // Step 5. A pawn of ours also covering a promotion square keeps it.
    if (promotionRow && (PawnAttacks[us][to] & ownPawns)) return true;
    // Step 6. The cheapest recapturer decides.
    if ((attackers & p.pieceBB[Pawn]) && d + PieceValue[Pawn] < b) return false;
    if ((attackers & p.pieceBB[Knight]) && d + PieceValue[Knight] < b) return false;
    if ((attackers & p.pieceBB[Bishop]) && d + PieceValue[Bishop] < b) return false;
    if ((attackers & p.pieceBB[Rook]) && d + PieceValue[Rook] < b) return false;
    // Step 7.
    if (d + g >= b) return true;
    // Step 8. Defended by another piece of ours.
    return (AttackersUnder(p, to, us, true, occupancy) & occupancy) != 0;
}

bool seeAtLeast(const Position& p, Move move, int threshold) {
    int from = MoveFrom(move);
    return seeAtLeastFrom(p, TypeOf(p.board[from]), from, 0, MoveTo(move), threshold);
}

int winningCapturesFrom(const Position& p, int moverType, int x, Bitboard vacated,
                        Bitboard targets) {
    Bitboard occupancy = (p.occupied & ~vacated) | SquareBB(x);
    targets &= PieceAttacks(moverType, p.sideToMove, x, occupancy) & p.colourBB[p.sideToMove ^ 1];
    int count = 0;
    while (targets)
        if (seeAtLeastFrom(p, moverType, x, vacated, PopLowest(targets), 50)) ++count;
    return count;
}

int winningCapturesFrom(const Position& p, int x, Bitboard targets) {
    if (p.board[x] == Empty) return 0;
    return winningCapturesFrom(p, TypeOf(p.board[x]), x, 0, targets);
}

bool deltaWorthy(const Position& p, Move move, int e, int threshold, int cv) {
    int from = MoveFrom(move), to = MoveTo(move);
    bool promotes = TypeOf(p.board[from]) == Pawn && (SquareBB(to) & PromotionRows);
    if (promotes && PromotionCode(move) != 0) return false;
    return e + cv + (promotes ? PromotionGain : 0) >= threshold;
}

} // namespace corvid
