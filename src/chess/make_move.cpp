#include "chess/make_move.h"

#include "chess/attacks.h"
#include "chess/move_gen.h"

namespace corvid {

void MakeMove(Position& p, Move move, Bitboard newCheckers, UndoInfo& undo,
              const TranspositionTable* table) {
    const int us = p.sideToMove, them = us ^ 1;
    const int from = MoveFrom(move);
    int to = MoveTo(move);
    const PieceCode mover = p.board[from];
    const PieceCode captured = p.board[to];
    const int type = TypeOf(mover);
    const uint8_t oldRights = p.castleRights;
    undo.captured = captured;
    undo.moved = mover;
    undo.moveKind = NormalMove;
    bool capture = captured != Empty && ColourOf(captured) == them;
    // Every square whose contents change: the pins can only change along a king's lines
    // through one of them.
    Bitboard changed = SquareBB(from) | SquareBB(to);

    if (type == King && oldRights && captured == MakePiece(us, Rook)) {
        // Step 2.1. Castling: king onto the g or c file, rook onto the f or d file.
        int kingTo = CastlingKingTarget(from, to), rookTo = CastlingRookTarget(from, to);
        undo.moveKind = from < to ? CastleKingSide : CastleQueenSide;
        p.pieceBB[Rook] ^= SquareBB(to) ^ SquareBB(rookTo);
        p.colourBB[us] ^= SquareBB(to) ^ SquareBB(rookTo);
        SetSquare(p, from, mover, Empty);
        SetSquare(p, to, captured, Empty);
        SetSquare(p, kingTo, Empty, mover);
        SetSquare(p, rookTo, Empty, captured);
        changed |= SquareBB(kingTo) | SquareBB(rookTo);
        to = kingTo;
    } else {
        // Step 3.
        SetSquare(p, to, captured, mover);
        SetSquare(p, from, mover, Empty);
    }
    if (type == King) {
        p.castleRights &= uint8_t(~(3 << (2 * us)));
        p.kingSquare[us] = uint8_t(to);
    }

    // Step 4. A move from or onto a castling rook's square ends that right.
    if (oldRights) {
        const CastleInfo& info = *p.castleInfo;
        Bitboard touched = SquareBB(from) | SquareBB(MoveTo(move));
        if (touched & info.castleSquares)
            for (int i = 0; i < 4; ++i)
                if (info.rookSquare[i] < 64 && (touched & SquareBB(info.rookSquare[i])))
                    p.castleRights &= uint8_t(~(1 << i));
        if (p.castleRights != oldRights)
            p.key ^= ZobristCastle[oldRights] ^ ZobristCastle[p.castleRights];
    }

    // Steps 5-7.
    p.key ^= ZobristSide;
    p.pieceBB[type] ^= SquareBB(from) ^ SquareBB(to);
    p.colourBB[us] ^= SquareBB(from) ^ SquareBB(to);
    if (p.epSquare < 64) p.key ^= ZobristEp[p.epSquare];

    // Step 8.
    int oldEp = p.epSquare;
    p.epSquare = NoSquare;
    if (type == Pawn) {
        p.lastIrreversiblePly = p.ply;
        if (SquareBB(to) & PromotionRows) {
            int newType = PromotionType(move);
            PieceCode promoted = MakePiece(us, newType);
            undo.moveKind = PromotionMove;
            SetSquare(p, to, mover, promoted);
            p.pieceBB[newType] ^= SquareBB(to);
            p.pieceBB[Pawn] ^= SquareBB(to);
            p.material[us] = int16_t(p.material[us] + PieceValue[newType] - PieceValue[Pawn]);
            --p.pawnCount[us];
            ++p.pieceCount[us];
            if (newType == Knight || newType == Bishop) ++p.minorCount[us];
        } else if (to == oldEp) {
            undo.moveKind = EnPassantMove;
            int victimSquare = to - PawnPush[us];
            PieceCode victim = MakePiece(them, Pawn);
            SetSquare(p, victimSquare, victim, Empty);
            changed |= SquareBB(victimSquare);
            p.colourBB[them] ^= SquareBB(victimSquare);
            p.pieceBB[Pawn] ^= SquareBB(victimSquare);
            p.material[them] = int16_t(p.material[them] - PieceValue[Pawn]);
            --p.pawnCount[them];
        } else if (to - from == 16 || from - to == 16) {
            p.epSquare = uint8_t((from + to) / 2);
            p.key ^= ZobristEp[p.epSquare];
        }
    }

    // Step 9. The captured enemy piece.
    if (capture) {
        int capturedType = TypeOf(captured);
        p.colourBB[them] ^= SquareBB(to);
        p.pieceBB[capturedType] ^= SquareBB(to);
        p.material[them] = int16_t(p.material[them] - PieceValue[capturedType]);
        if (capturedType == Pawn) {
            --p.pawnCount[them];
        } else {
            --p.pieceCount[them];
            if (capturedType == Knight || capturedType == Bishop) --p.minorCount[them];
        }
        p.lastIrreversiblePly = p.ply;
    }

    // Steps 10-13.
    p.occupied = p.colourBB[White] | p.colourBB[Black];
    if (table) PrefetchBucket(table, p.key);
    for (int c = 0; c < 2; ++c) {
        int king = p.kingSquare[c];
        if ((type == King && c == us) || (changed & (BishopPseudo[king] | RookPseudo[king])))
            p.blockers[c] = ComputeBlockers(p, c);
    }
    p.checkers = newCheckers;
    ++p.ply;
    p.sideToMove = them;
}

void MakeMoveWithCheck(Position& p, Move move, UndoInfo& undo) {
    CheckSquares checkSquares = PrepareCheckSquares(p);
    MakeMove(p, move, GivesCheck(p, move, checkSquares), undo);
}

void MakeMoveWithCheck(Position& p, Move move) {
    UndoInfo undo;
    MakeMoveWithCheck(p, move, undo);
}

} // namespace corvid
