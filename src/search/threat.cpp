#include "search/threat.h"

#include "chess/attacks.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/null_move.h"
#include "eval/search_personality.h"
#include "search/check_moves.h"
#include "search/exchange.h"

#include <algorithm>

namespace corvid {

namespace {

// A move only pressures when its piece survives: losing more than this is hanging.
constexpr int HangingMargin = -21;
// A capture that wins at least this much counts as winning.
constexpr int WinningMargin = 50;

// What the board looks like around a move of the side to move, before and after.
struct MoveFacts {
    int us, them;
    int from, to;
    int enemyKing;
    Bitboard own;        // own pieces, the mover on its old square
    Bitboard enemy;      // enemy pieces left after the move
    Bitboard enemyPawns; // enemy pawns left after the move
    Bitboard pawnCover;  // squares those pawns attack
    Bitboard without;    // occupancy without the from- and to-squares
    Bitboard after;      // occupancy after the move
};

MoveFacts FactsOf(const Position& p, Move move) {
    MoveFacts f;
    f.us = p.sideToMove;
    f.them = f.us ^ 1;
    f.from = MoveFrom(move);
    f.to = MoveTo(move);
    f.enemyKing = p.kingSquare[f.them];
    f.own = p.colourBB[f.us];
    Bitboard gone = SquareBB(f.to);
    if (TypeOf(p.board[f.from]) == Pawn && f.to == p.epSquare)
        gone = SquareBB(f.to - PawnPush[f.us]);
    f.enemy = p.colourBB[f.them] & ~gone;
    f.enemyPawns = p.Pieces(f.them, Pawn) & ~gone;
    f.pawnCover = PawnAttackSet(f.enemyPawns, f.them);
    f.without = p.occupied & ~SquareBB(f.from) & ~SquareBB(f.to) & ~gone;
    f.after = f.without | SquareBB(f.to);
    return f;
}

// The first occupied square beyond b on the line from a through b, or -1.
int NearestBeyond(int a, int b, Bitboard occupancy) {
    Bitboard beyond = RayBeyond[a][b] & occupancy;
    if (!beyond) return -1;
    return a < b ? LowestSquare(beyond) : HighestSquare(beyond);
}

bool BehindIsOneOf(int a, int b, Bitboard occupancy, Bitboard set) {
    int behind = NearestBeyond(a, b, occupancy);
    return behind >= 0 && (set & SquareBB(behind));
}

Bitboard PassedSpan(int square, int colour) {
    int file = FileOf(square), row = RowOf(square);
    Bitboard files = FileMask[file];
    if (file > 0) files |= FileMask[file - 1];
    if (file < 7) files |= FileMask[file + 1];
    Bitboard ahead = 0;
    if (colour == White)
        ahead = row == 0 ? 0 : (Bitboard{1} << (row * 8)) - 1;
    else
        ahead = row == 7 ? 0 : ~((Bitboard{1} << ((row + 1) * 8)) - 1);
    return files & ahead;
}

Bitboard SideNeighbours(int square) {
    Bitboard b = 0;
    if (FileOf(square) > 0) b |= SquareBB(square - 1);
    if (FileOf(square) < 7) b |= SquareBB(square + 1);
    return b;
}

// The piece that has just moved to `to` goes on to s: is that mate? Worked out on copies
// (the opponent's turn in between is passed).
bool FollowUpMates(const Position& p, Move move, const MoveFacts& f, int s) {
    // An undefended piece next to the king is simply taken.
    Bitboard occupancy = (f.after & ~SquareBB(f.to)) | SquareBB(s);
    Bitboard defenders = AttackersUnder(p, s, f.us, true, occupancy) & occupancy &
                         ~SquareBB(f.from) & ~SquareBB(f.to);
    if (!defenders) return false;
    Position a = p;
    MakeMoveWithCheck(a, move);
    if (a.checkers) return false;
    MakeNullMove(a);
    if (a.checkers) return false;
    Move followUp = MakeMoveCode(f.to, s);
    Bitboard checkers = GivesCheck(a, followUp, PrepareCheckSquares(a));
    if (!checkers || !IsLegal(a, followUp)) return false;
    UndoInfo undo;
    MakeMove(a, followUp, checkers, undo);
    int defender = a.sideToMove;
    return QuickMateTest(a, a.checkers, a.blockers[defender] & a.colourBB[defender], defender);
}

int PawnClass(const Position& p, Move move, const MoveFacts& f) {
    int r = f.us == White ? RowOf(f.to) : 7 - RowOf(f.to);
    bool safe = seeAtLeast(p, move, HangingMargin);
    int front = r > 0 ? f.to + PawnPush[f.us] : -1;
    if (r == 1) return safe && !(f.enemy & SquareBB(front)) ? ThreatPromotion : ThreatDouble;
    Bitboard attacks = PawnAttacks[f.them][f.to];
    if (safe) {
        Bitboard hit = attacks & f.enemy & ~f.enemyPawns;
        if (MoreThanOne(hit)) return ThreatDouble;
        if (hit) return ThreatAttack;
    }
    if (r <= 3 && p.pieceCount[White] + p.pieceCount[Black] == 0) return ThreatMinor;
    if (r <= 4 && safe && !(PassedSpan(f.to, f.us) & f.enemyPawns)) return ThreatMinor;
    if (r == 2 && safe && p.board[front] == Empty) return ThreatMinor;
    if (p.pieceCount[f.them] > 1 && (attacks & KingBlock(f.enemyKing))) return ThreatMinor;
    if (r > 4 || !safe) return ThreatNone;
    Bitboard beside = SideNeighbours(f.to) | (front >= 0 ? SideNeighbours(front) : 0);
    Bitboard ownPawns = p.Pieces(f.us, Pawn) & ~SquareBB(f.from);
    return (beside & ownPawns) ? ThreatMinor : ThreatNone;
}

int KnightClass(const Position& p, const MoveFacts& f) {
    Bitboard attacks = KnightAttacks[f.to];
    Bitboard big = f.enemy & (p.pieceBB[King] | p.pieceBB[Rook] | p.pieceBB[Queen]);
    Bitboard hit = attacks & big;
    if (MoreThanOne(hit)) return ThreatDouble;
    if (hit) return ThreatAttack;
    int w = winningCapturesFrom(p, Knight, f.to, SquareBB(f.from),
                                attacks & f.enemy & p.pieceBB[Bishop]);
    if (w > 1) return ThreatDouble;
    if (w == 1 || discoveredTargets(p, f.from, f.to, f.us, f.enemy & p.pieceBB[Queen]))
        return ThreatAttack;
    return (attacks & f.enemyPawns & ~f.pawnCover) ? ThreatMinor : ThreatNone;
}

int BishopClass(const Position& p, const MoveFacts& f) {
    Bitboard through = f.without & ~p.Pieces(f.us, Queen);
    Bitboard attacks = BishopAttacks(f.to, through);
    Bitboard newly = attacks & ~BishopAttacks(f.from, through);
    Bitboard big = f.enemy & (p.pieceBB[King] | p.pieceBB[Queen] | p.pieceBB[Rook]);
    if (MoreThanOne(attacks & big)) return ThreatDouble;
    if (Bitboard hit = newly & big) {
        for (Bitboard b = hit; b;)
            if (BehindIsOneOf(f.to, PopLowest(b), through, big)) return ThreatDouble;
        return ThreatAttack;
    }
    int k =
        winningCapturesFrom(p, Bishop, f.to, SquareBB(f.from), newly & f.enemy & p.pieceBB[Knight]);
    if (k > 1) return ThreatDouble;
    bool pins = false;
    Bitboard enemyKing = SquareBB(f.enemyKing);
    for (Bitboard b = newly & f.enemy & (p.pieceBB[Knight] | p.pieceBB[Bishop]); b;) {
        int minor = PopLowest(b);
        pins |= (p.blockers[f.them] & SquareBB(minor)) ||
                BehindIsOneOf(f.to, minor, f.after, enemyKing);
    }
    if (k == 1 || pins || discoveredTargets(p, f.from, f.to, f.us, f.enemy & p.pieceBB[Queen]))
        return ThreatAttack;
    if (p.pieceCount[f.us] <= 1) return ThreatNone;
    return (newly & KingAttacks[f.enemyKing] & ~f.pawnCover) ? ThreatMinor : ThreatNone;
}

int RookClass(const Position& p, Move move, const MoveFacts& f, Move* mateMove) {
    Bitboard through = f.without & ~p.Pieces(f.us, Queen) & ~p.Pieces(f.us, Rook);
    Bitboard attacks = RookAttacks(f.to, through);
    Bitboard oldAttacks = RookAttacks(f.from, through);
    Bitboard newly = attacks & ~oldAttacks & ~f.pawnCover;
    Bitboard enemyKing = SquareBB(f.enemyKing);
    Bitboard enemyQueens = f.enemy & p.pieceBB[Queen];

    if (p.pieceCount[f.us] > 1) {
        Bitboard kingLines = RowMask[RowOf(f.enemyKing)] | FileMask[FileOf(f.enemyKing)];
        Bitboard squares = KingAttacks[f.enemyKing] & RookAttacks(f.to, f.after) & ~f.pawnCover &
                           kingLines & ~f.own;
        while (squares) {
            int s = PopLowest(squares);
            if (!FollowUpMates(p, move, f, s)) continue;
            if (mateMove) *mateMove = MakeMoveCode(f.to, s);
            return ThreatMate;
        }
    }
    bool queenHit = (attacks & enemyQueens) != 0, kingHit = (attacks & enemyKing) != 0;
    if (queenHit && kingHit) return ThreatDouble;
    bool checks = (RookAttacks(f.to, f.after) & enemyKing) != 0;
    int k = winningCapturesFrom(p, Rook, f.to, SquareBB(f.from),
                                newly & f.enemy & (p.pieceBB[Bishop] | p.pieceBB[Knight]));
    if (k > 1 || (k == 1 && checks)) return ThreatDouble;
    if (queenHit || kingHit) {
        int target = LowestSquare(attacks & (queenHit ? enemyQueens : enemyKing));
        return BehindIsOneOf(f.to, target, through, enemyQueens | enemyKing) ? ThreatDouble
                                                                             : ThreatAttack;
    }
    if (k == 1 || backRankSupport(p, f.to)) return ThreatAttack;
    if (newly & KingAttacks[f.enemyKing] & ~f.own) return ThreatMinor;
    Bitboard zone = KingBlock(f.enemyKing) & ~f.own & ~f.pawnCover;
    return ((newly & zone) && !(oldAttacks & zone)) ? ThreatMinor : ThreatNone;
}

int QueenClass(const Position& p, Move move, const MoveFacts& f, Move* mateMove) {
    Bitboard attacks = QueenAttacks(f.to, f.without);
    Bitboard oldAttacks = QueenAttacks(f.from, f.without);
    for (Bitboard b = KingAttacks[f.enemyKing] & QueenAttacks(f.to, f.after) & ~f.own; b;) {
        int s = PopLowest(b);
        if (!FollowUpMates(p, move, f, s)) continue;
        if (mateMove) *mateMove = MakeMoveCode(f.to, s);
        return ThreatMate;
    }
    Bitboard targets = (f.enemy & ~p.pieceBB[Queen] & ~p.pieceBB[King] & ~p.pieceBB[Pawn]) |
                       (f.enemyPawns & KingAttacks[f.enemyKing]);
    int k = winningCapturesFrom(p, Queen, f.to, SquareBB(f.from), targets & ~f.pawnCover);
    if (k > 1) return ThreatDouble;
    if (k == 1 || backRankSupport(p, f.to)) return ThreatAttack;
    if (p.pieceCount[f.us] > 1) {
        Bitboard zone = KingBlock(f.enemyKing) & ~f.pawnCover;
        if ((attacks & ~oldAttacks & zone) &&
            PopCount(attacks & zone) >= PopCount(oldAttacks & zone))
            return ThreatMinor;
    }
    Bitboard between =
        BetweenMask[f.to][f.enemyKing] & f.after & ~(p.Pieces(f.us, Rook) | p.Pieces(f.us, Bishop));
    if (between && !MoreThanOne(between) && !(between & f.enemyPawns)) return ThreatMinor;
    return ThreatNone;
}

int KingClass(const Position& p, const MoveFacts& f) {
    bool castling = p.board[f.to] == MakePiece(f.us, Rook);
    int kingTo = castling ? CastlingKingTarget(f.from, f.to) : f.to;
    Bitboard newly = KingAttacks[kingTo] & ~KingAttacks[f.from] & ~SquareBB(f.from);
    Bitboard ownPawns = p.Pieces(f.us, Pawn);
    bool noPieces = p.pieceCount[White] + p.pieceCount[Black] == 0;
    if (noPieces && (newly & f.enemyPawns & ~f.pawnCover)) return ThreatAttack;
    bool farRows = f.us == White ? RowOf(kingTo) <= 1 : RowOf(kingTo) >= 6;
    Bitboard fronts = f.us == White ? ownPawns >> 8 : ownPawns << 8;
    if (farRows && (newly & fronts)) return ThreatDouble;
    int safe = 0;
    for (Bitboard b = newly & f.enemy & ~p.pieceBB[Pawn] & ~p.pieceBB[King]; b;)
        if (seeAtLeastFrom(p, King, kingTo, SquareBB(f.from), PopLowest(b), WinningMargin)) ++safe;
    if (safe >= 2) return ThreatDouble;
    if (safe == 1) return ThreatAttack;
    if (noPieces && (newly & ownPawns)) return ThreatMinor;
    if (p.pieceCount[f.us] <= 2 && p.pieceCount[f.them] <= 2) {
        Bitboard occupancy = (f.without & ~SquareBB(f.from)) | SquareBB(kingTo);
        for (Bitboard b = newly & f.enemyPawns; b;) {
            int pawn = PopLowest(b);
            if (!(AttackersUnder(p, pawn, f.them, true, occupancy) & f.enemy)) return ThreatMinor;
        }
    }
    int fileChange = FileOf(kingTo) - FileOf(f.from);
    return fileChange > 1 || fileChange < -1 ? ThreatMinor : ThreatNone;
}

} // namespace

Bitboard KingBlock(int square) {
    int centre = MakeSquare(std::clamp(FileOf(square), 1, 6), std::clamp(RowOf(square), 1, 6));
    return KingAttacks[centre] | SquareBB(centre);
}

int threatClassOf(const Position& p, Move move, Move* mateMove) {
    int type = TypeOf(p.board[MoveFrom(move)]);
    if (type != Pawn && type != King && !seeAtLeast(p, move, HangingMargin)) return ThreatHangs;
    if (!activePersonality.switches.threatMoveDetection) return ThreatNone;
    MoveFacts f = FactsOf(p, move);
    switch (type) {
    case Pawn:
        return PawnClass(p, move, f);
    case Knight:
        return KnightClass(p, f);
    case Bishop:
        return BishopClass(p, f);
    case Rook:
        return RookClass(p, move, f, mateMove);
    case Queen:
        return QueenClass(p, move, f, mateMove);
    default:
        return KingClass(p, f);
    }
}

Bitboard discoveredTargets(const Position& p, int from, int to, int side, Bitboard candidates) {
    Bitboard before = p.occupied;
    Bitboard after = (p.occupied & ~SquareBB(from)) | SquareBB(to);
    Bitboard diagonal = p.Diagonal(side) & ~SquareBB(from);
    Bitboard straight = p.Straight(side) & ~SquareBB(from);
    Bitboard result = 0;
    candidates &= p.colourBB[side ^ 1] & ~SquareBB(to) & (BishopPseudo[from] | RookPseudo[from]);
    while (candidates) {
        int c = PopLowest(candidates);
        Bitboard now = (BishopAttacks(c, after) & diagonal) | (RookAttacks(c, after) & straight);
        Bitboard then = (BishopAttacks(c, before) & diagonal) | (RookAttacks(c, before) & straight);
        if (now & ~then) result |= SquareBB(c);
    }
    return result;
}

bool isEscapeMove(const Position& p, Move move) {
    int from = MoveFrom(move);
    PieceCode piece = p.board[from];
    if (piece == Empty) return false;
    int us = ColourOf(piece), them = us ^ 1;
    int type = TypeOf(piece);
    Bitboard attackers = AttackersOf(p, from, them, true) & ~(p.blockers[them] & p.colourBB[them]);
    if (!attackers) return false;
    if (PieceValue[type] > PieceValue[Pawn] && (attackers & p.pieceBB[Pawn])) return true;
    if ((type == Rook || type == Queen) && (attackers & (p.pieceBB[Knight] | p.pieceBB[Bishop])))
        return true;
    if (type == Queen && (attackers & p.pieceBB[Rook])) return true;
    return AttackersOf(p, from, us, true) == 0;
}

} // namespace corvid
