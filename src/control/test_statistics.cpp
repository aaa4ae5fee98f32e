#include "control/test_statistics.h"

#include "search/search_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvid {

EloEstimate estimateElo(int wins, int draws, int losses) {
    EloEstimate estimate;
    int n = wins + draws + losses;
    if (n <= 0) return estimate;
    double s = (draws * 0.5 + wins) / n;
    if (s >= 1) {
        estimate.elo = 1000;
        return estimate;
    }
    if (s <= 0) {
        estimate.elo = -1000;
        return estimate;
    }
    if (n > 1) {
        // The variance of one game's score; exactly zero for all draws, and rounding must not
        // take it below.
        double variance = std::max(0.0, ((1 - s) * s - (double(draws) / n) * 0.25) / (n - 1));
        estimate.margin = 1362 * std::sqrt(variance);
    }
    estimate.elo = -400 * std::log(1 / s - 1) / 2.3025851;
    return estimate;
}

void formatTestStatistics(char* text, const TestMatch& m, double elapsed) {
    std::string elapsedText = formatTime(elapsed);
    std::string remainingText =
        m.gamesPlayed > 0 ? formatTime(double(m.totalGames) / m.gamesPlayed * elapsed - elapsed)
                          : "?";
    EloEstimate estimate = estimateElo(m.wins, m.draws, m.losses);
    const SideStatistics& a = m.sides[0];
    const SideStatistics& b = m.sides[1];
    double ratio = b.nodeSum == 0 ? 1 : double(a.nodeSum) / double(b.nodeSum);
    double depthA = a.searches == 0 ? 0 : double(a.depthSum) / double(a.searches);
    double depthB = b.searches == 0 ? 0 : double(b.depthSum) / double(b.searches);
    int n = std::snprintf(text, StatisticsTextSize,
                          "+%d -%d =%d \nElo : %d (+/- %d)\n\ngames: %d of %d \ntime: %s\n"
                          "remaining: %s\nstartIdx: %d\nnodes ratio: %.3f\ndepth : %.2f, %.2f",
                          m.wins, m.losses, m.draws, int(estimate.elo), int(estimate.margin),
                          m.gamesPlayed, m.totalGames, elapsedText.c_str(), remainingText.c_str(),
                          m.startIndex, ratio, depthA, depthB);
    if (m.startPositions.skipped > 0 && n > 0 && size_t(n) < StatisticsTextSize)
        std::snprintf(text + n, StatisticsTextSize - size_t(n), "\nskipped lines: %d",
                      m.startPositions.skipped);
}

} // namespace corvid
