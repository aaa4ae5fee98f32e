// Bitbase probes from a position. `strong` is the side whose pawn is named first in the table
// name; each probe returns the table's bit (meanings below), or -1 when the table is not loaded
// or the position has no entry. The material must be the table's (callers test it).
#pragma once

#include "chess/position.h"

namespace corvid {

// King and pawn against king: 1 = the strong side does not win.
int probeKpk(const Position& position, int strong);
// One pawn each; the strong side's pawn decides the wing: 1 = the strong side wins.
int probeKpkp(const Position& position, int strong);
// Two pawns against none: 1 = the strong side does not win.
int probeKppk(const Position& position, int strong);
// Two pawns against one, the lone pawn standing directly in front of a strong pawn: 1 = the
// strong side does not win; -1 also when the lone pawn is not blocked that way.
int probeKppkp(const Position& position, int strong);
// Pawn and knight, or pawn and bishop, against a bare king: 1 = the strong side does not win.
int probeKpxk(const Position& position, int strong);
// Pawn against queen: 1 = the pawn side is not lost.
int probeKpkq(const Position& position, int strong);
// Pawn against rook: 1 = the pawn side is not lost. A pawn on its second or third rank is
// first pushed to its fourth (the strong side must be to move and the push legal) and probed
// with the rook side to move; otherwise there is no probe.
int probeKpkr(const Position& position, int strong);
// The two pawn race bits of `pawn` (a pawn of `racing`): bit 0 = the race result is known
// (the pawn promotes), bit 1 = it needs no king move. -1 without the table.
int probePawnRace(const Position& position, int racing, int pawn);

} // namespace corvid
