// What the node knows about itself once it has probed the table and evaluated, shared with the
// selectivity rules.
#pragma once

#include "chess/make_move.h"
#include "search/exchange.h"
#include "search/move_picker.h"
#include "search/search_context.h"

namespace corvid {

struct NodeState {
    int ply;
    int alpha, beta, depth, nodeType;
    int us, them;
    bool inCheck;
    bool improving;
    bool threatened;
    int staticEval;
    int tableEval; // what the table entry gets as static evaluation (NoScore after a lazy exit)
    int evalPrime; // the pruning value: the table score when its bound allows, else staticEval
    uint64_t key;
    Move excluded;
    Move ttMove; // a playable move, from the table or internal iterative deepening
    TTProbe tt;
};

// Own pawns one step from promotion.
inline Bitboard pawnsOnSeventh(const Position& p, int colour) {
    return p.Pieces(colour, Pawn) & RowMask[colour == White ? 1 : 6];
}

inline bool isRealMove(int move) { return move != NoMove && !(move & MarkerBit); }

// PieceTo of a real move made at that record, 0 otherwise.
inline int previousPieceTo(const PlyRecord& record) {
    return isRealMove(record.move) ? record.pieceTo : 0;
}

// Stages of the moves a node tries: the picker's, and the root's own list.
constexpr int HashStage = int(Stage::HashMove);
constexpr int CaptureStage = int(Stage::Captures);
constexpr int RefutationStage = int(Stage::Refutations);
constexpr int QuietStage = int(Stage::Quiets);
constexpr int BadCaptureStage = int(Stage::BadCaptures);
constexpr int EvasionStage = int(Stage::Evasions);
constexpr int RootStage = int(Stage::Done) + 1;

// PieceValue of the piece the move takes from its target square (0 for none and castling).
inline int capturedValue(const Position& p, Move m) { return CapturedValue(p, MoveTo(m)); }

// Fills the record of the ply the move was made from.
inline void recordMove(PlyRecord& record, PieceCode mover, Move m, const UndoInfo& undo) {
    record.move = m;
    record.movedPiece = mover;
    bool castling = undo.moveKind == CastleKingSide || undo.moveKind == CastleQueenSide;
    if (undo.moveKind == EnPassantMove)
        record.capturedType = Pawn;
    else if (castling || undo.captured == Empty)
        record.capturedType = Empty;
    else
        record.capturedType = TypeOf(PieceCode(undo.captured));
    record.pieceTo = PieceTo(mover, MoveTo(m));
}

// The record of a ply whose side passed (null move).
inline void recordNullMove(PlyRecord& record) {
    record.move = NoMove;
    record.movedPiece = Empty;
    record.capturedType = Empty;
    record.pieceTo = 0;
    record.threatClass = 0;
    record.pawnTo7th = 0;
    record.extension = 0;
}

// Razoring, reverse futility, null move and ProbCut. Returns the node's result when one of
// them ends the node (AbortScore included), NoScore otherwise.
int preMovePruning(SearchContext& context, const NodeState& node);

} // namespace corvid
