#include "chess/game_record.h"

#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/null_move.h"
#include "platform/engine_reporter.h"

namespace corvid {

namespace {

bool AtLengthLimit(const Position& p) {
    if (p.ply < MaxGamePly) return false;
    reporter().statusText("Hit Maximum Move Number");
    return true;
}

bool InRange(int coordinate) { return coordinate >= -1 && coordinate < 8; }

// The move's target matches the requested square. Castling names the rook's square, or the
// king's destination unless the king already stands next to it (then it is a king step).
bool TargetMatches(const Position& p, Move move, int target) {
    const int from = MoveFrom(move), to = MoveTo(move);
    if (to == target) return true;
    if (!IsCastling(p, move)) return false;
    int kingTo = CastlingKingTarget(from, to);
    int distance = FileOf(from) - FileOf(kingTo);
    return kingTo == target && (distance > 1 || distance < -1);
}

void AfterMove(Position& p, const Position& before, GameRecord& target) {
    if (&target != &gameRecord) return;
    KeyHistory.Set(before.ply, before.key);
    KeyHistory.Set(p.ply, p.key);
}

} // namespace

bool PlayGameMove(Position& p, Move move, bool record, GameRecord& target) {
    if (AtLengthLimit(p)) return false;
    MoveList legal;
    GenerateLegalMoves(p, legal);
    Move plain = Move(move & 0x0FFF);
    bool found = false;
    for (int i = 0; i < legal.count && !found; ++i) found = legal.moves[i] == plain;
    if (!found) return false;
    // The generator lists queen and knight promotions; the others are equally legal.
    bool promotion =
        TypeOf(p.board[MoveFrom(move)]) == Pawn && (SquareBB(MoveTo(move)) & PromotionRows);
    if (!promotion) move = plain;
    move &= 0x3FFF;

    Position before = p;
    MakeMoveWithCheck(p, move);
    SetupDerived(p);
    AfterMove(p, before, target);
    if (record) RecordMove(target, move, before);
    return true;
}

bool PlayMoveInGame(Position& p, int fromFile, int fromRow, int toFile, int toRow, int pieceType,
                    bool record, GameRecord& target, int promotion) {
    if (!InRange(fromFile) || !InRange(fromRow) || toFile < 0 || toFile > 7 || toRow < 0 ||
        toRow > 7)
        return false;
    const bool fromKnown = fromFile >= 0 && fromRow >= 0;
    const int to = MakeSquare(toFile, toRow);
    if (fromKnown && MakeSquare(fromFile, fromRow) == to) return false;

    MoveList legal;
    GenerateLegalMoves(p, legal);
    Move chosen = NoMove;
    for (int i = 0; i < legal.count; ++i) {
        Move m = legal.moves[i];
        int from = MoveFrom(m);
        if (!TargetMatches(p, m, to)) continue;
        if (fromKnown) {
            if (from != MakeSquare(fromFile, fromRow)) continue;
        } else {
            if (fromFile >= 0 && FileOf(from) != fromFile) continue;
            if (fromRow >= 0 && RowOf(from) != fromRow) continue;
            if (pieceType != 6 && TypeOf(p.board[from]) != pieceType) continue;
        }
        chosen = m; // the last match in generation order
    }
    if (chosen == NoMove) return false;

    chosen &= 0x0FFF;
    if (TypeOf(p.board[MoveFrom(chosen)]) == Pawn && (SquareBB(MoveTo(chosen)) & PromotionRows)) {
        if (promotion == 6) promotion = reporter().promotionPiece();
        chosen = Move(chosen | (PromotionCodeOf(promotion) << 12));
    }
    return PlayGameMove(p, chosen, record, target);
}

bool PlayNullMoveInGame(Position& p, bool record, GameRecord& target) {
    if (p.checkers || AtLengthLimit(p)) return false;
    Position before = p;
    MakeNullMove(p);
    AfterMove(p, before, target);
    if (record) RecordMove(target, NoMove, before);
    return true;
}

} // namespace corvid
