// Basic chess types shared by every subsystem: squares, pieces, moves and piece values.
#pragma once

#include <cstdint>

namespace corvid {

using Bitboard = uint64_t;
using Move = uint16_t;
using PieceCode = uint8_t;

// Squares: 0 = a8, 7 = h8, 56 = a1, 63 = h1. Row 0 is rank 8.
constexpr int NoSquare = 127;
constexpr int FileOf(int square) { return square & 7; }
constexpr int RowOf(int square) { return square >> 3; }
constexpr int MakeSquare(int file, int row) { return row * 8 + file; }
constexpr int MirrorSquare(int square) { return square ^ 56; }
constexpr Bitboard SquareBB(int square) { return Bitboard{1} << square; }

constexpr int White = 0;
constexpr int Black = 1;

// Piece types and codes: code = colour * 8 + type; 6 is an empty square.
constexpr int Pawn = 0;
constexpr int Knight = 1;
constexpr int Bishop = 2;
constexpr int Rook = 3;
constexpr int Queen = 4;
constexpr int King = 5;
constexpr PieceCode Empty = 6;

constexpr PieceCode MakePiece(int colour, int type) { return PieceCode(colour * 8 + type); }
constexpr int TypeOf(PieceCode piece) { return piece & 7; }
constexpr int ColourOf(PieceCode piece) { return piece >> 3; }

constexpr const char* PieceLetters = "PNBRQK  pnbrqk";

constexpr int PieceValue[6] = {100, 320, 340, 522, 984, 3000};

// A white pawn steps toward row 0, a black pawn toward row 7.
constexpr int PawnPush[2] = {-8, 8};

// Moves: from in bits 0-5, to in bits 6-11, promotion piece in bits 12-13
// (0 queen, 1 knight, 2 rook, 3 bishop). Castling is king square to own rook square.
constexpr Move NoMove = 0;
constexpr Move MarkerBit = 0x8000;
constexpr int MoveFrom(Move move) { return move & 63; }
constexpr int MoveTo(Move move) { return (move >> 6) & 63; }
constexpr int PromotionCode(Move move) { return (move >> 12) & 3; }
constexpr Move MakeMoveCode(int from, int to, int promotionCode = 0) {
    return Move(from | (to << 6) | (promotionCode << 12));
}
constexpr int PromotionCodeType[4] = {Queen, Knight, Rook, Bishop};
constexpr int PromotionType(Move move) { return PromotionCodeType[PromotionCode(move)]; }
constexpr int PromotionCodeOf(int type) {
    return type == Knight ? 1 : type == Rook ? 2 : type == Bishop ? 3 : 0;
}
constexpr bool IsMarker(Move move) { return (move & MarkerBit) != 0; }

} // namespace corvid
