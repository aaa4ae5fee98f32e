// The running statistics of a test match: the Elo difference with its error margin, and the
// status text that shows them.
#pragma once

#include "control/test_match.h"

#include <cstddef>

namespace corvid {

struct EloEstimate {
    double elo = 0;       // A's rating above B's
    double margin = 1000; // error margin (about two standard deviations)
};

// From A's wins, draws and losses. No games: 0 with margin 1000; all won or all lost: +-1000
// with margin 1000.
EloEstimate estimateElo(int wins, int draws, int losses);

// The text holds at most this many characters, terminating NUL included.
constexpr size_t StatisticsTextSize = 1024;

// The statistics of the match after elapsedSeconds: results, Elo and margin, games, elapsed and
// remaining time, the start position in use, the node ratio of A to B and both sides' average
// depths; a last line counts the skipped start-position lines when there were any.
void formatTestStatistics(char* text, const TestMatch& match, double elapsedSeconds);

} // namespace corvid
