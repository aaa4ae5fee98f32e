// Where each position lives in the bitbase files. Both the engine's probes and the offline
// generator compute indexes through these functions, so files and probes agree by construction.
//
// Squares are given as seen with the strong side (the side of the pawn named first in the
// file name) playing White: when that side is Black, the caller rotates every square
// (RotateSquare) and strongToMove means Black to move. Each function mirrors the files itself
// when the pawn that decides the wing stands on files e..h. A result of -1 means the position
// has no entry in the table.
#pragma once

#include "chess/types.h"

#include <cstdint>

namespace corvid {

// A 180-degree turn of the board: the colours swap roles.
constexpr int RotateSquare(int square) { return 63 - square; }
// Files a..h become h..a.
constexpr int MirrorFile(int square) { return square ^ 7; }

// A strong pawn on rows 1..6 (ranks 7..2), files a..d: 0..23.
constexpr int PawnIndex(int pawn) { return 4 * (RowOf(pawn) - 1) + FileOf(pawn); }

// Bit sizes of the tables.
constexpr int64_t KpkBits = 196608;
constexpr int64_t KpkpBits = int64_t{2} * 48 * 24 * 64 * 64;
constexpr int64_t KppkBits = int64_t{2} * 48 * 24 * 64 * 64;
constexpr int64_t KppkpBits = int64_t{2} * 48 * 24 * 64 * 64;
constexpr int64_t KpxkBits = int64_t{2} * 24 * 64 * 64 * 64;
constexpr int64_t KpkqBits = int64_t{24} * 8 * 64 * 64;
constexpr int64_t KpkrBits = int64_t{64} * 32 * 64 * 64;
constexpr int64_t PawnRaceBits = int64_t{4} * 24 * 64 * 64;

// King and pawn against king. A set bit: the strong side does not win.
int32_t kpkIndex(int strongKing, int weakKing, int pawn, bool strongToMove);

// King and pawn against king and pawn; strongPawn decides the wing. A set bit: the strong
// side wins.
int32_t kpkpIndex(int strongKing, int weakKing, int strongPawn, int weakPawn, bool strongToMove);

// King and two pawns against king; the pawn with the lower square number decides the wing.
// A set bit: the strong side does not win.
int32_t kppkIndex(int strongKing, int weakKing, int pawnA, int pawnB, bool strongToMove);

// Two pawns against one where the weak pawn stands directly in front of a strong pawn (on
// weakPawn + 8); freePawn is the other strong pawn and decides the wing. A set bit: the strong
// side does not win.
int32_t kppkpIndex(int strongKing, int weakKing, int freePawn, int weakPawn, bool strongToMove);

// King, pawn and a minor piece against king (one file per piece kind). A set bit: the strong
// side does not win.
int32_t kpxkIndex(int strongKing, int weakKing, int pawn, int piece, bool strongToMove);

// King and pawn against king and queen, for a pawn on a7, c7, a6 or c6 (after mirroring) with
// the pawn's king on rows 0..2. A set bit: the pawn side is not lost.
int32_t kpkqIndex(int strongKing, int weakKing, int pawn, int queen, bool strongToMove);

// King and pawn against king and rook, for a pawn on rows 1..4 (ranks 7..4). A set bit: the
// pawn side is not lost.
int32_t kpkrIndex(int strongKing, int weakKing, int pawn, int rook, bool strongToMove);

// The pawn race entry of a lone pawn with its king against the other king; its two bits are
// 4 * entry + 2 * (racing side to move) and the next one.
int32_t pawnRaceEntry(int racingKing, int otherKing, int pawn);

} // namespace corvid
