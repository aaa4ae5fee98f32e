// The texts of the search's figures: scores, elapsed times and lines of moves. The desktop's
// search information, its analysis pane and the WinBoard thinking output write the same texts;
// the test match writes its times with the same clock format.
#pragma once

#include "chess/position.h"

#include <string>
#include <string_view>

namespace corvid {

// Line kinds: an exact line, or one that failed high (only its first move counts) or low.
constexpr int LineExact = 0, LineFailHigh = 1, LineFailLow = 2;

// The longest line text: longer lines end at the last whole move that fits.
constexpr size_t MaxLineText = 1023;

// A score for the side to move in the position: "invalid" for no score; mates from White's
// point of view ("White mates in 3" / "M3", "Black mates in 3" / "-M3", "M..." for a won
// position without a distance); else pawns with two decimals ("1.23", "-0.05"), turned to
// White's point of view when whitePov is on and Black is to move.
std::string formatScore(int score, int sideToMove, bool verbose, bool whitePov);

// Seconds as "mm:ss.t", with "hh:" in front from one hour on (75.3 s: "01:15.3").
std::string formatTime(double seconds);

// The moves of a line in SAN, each followed by one blank, made one after the other on a copy
// of the position. ponderPrefix (SAN of the move pondered on, "" for none) comes first as
// "{ e5 } ". The line ends at a 0 move, at a move not playable there, after a marker ("<tt>",
// "<draw>"), or, for a failed line with marks on, after its first move and "[++] " or "[--] ".
// The text never exceeds maxLength: it ends at the last whole move that fits.
std::string formatLine(const Move* moves, int count, const Position& position, int kind,
                       std::string_view ponderPrefix, bool showMarks,
                       size_t maxLength = MaxLineText);

} // namespace corvid
