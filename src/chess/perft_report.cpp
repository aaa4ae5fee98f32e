#include "chess/perft_report.h"

#include "chess/game_record.h"
#include "chess/perft.h"
#include "platform/clock.h"
#include "platform/engine_reporter.h"

#include <cinttypes>
#include <cstdio>

namespace corvid {

std::string PerftReport(Position& position, int maxDepth) {
    std::string report;
    char line[128];
    int64_t start = millisecondClock();
    uint64_t total = 0;
    for (int depth = 1; depth <= maxDepth; ++depth) {
        uint64_t nodes = Perft(position, depth);
        std::snprintf(line, sizeof line, "Perft(%d) = %" PRIu64 "\n", depth, nodes);
        report += line;
        total += nodes;
    }
    double seconds = double(millisecondClock() - start) / 1000.0;
    std::snprintf(line, sizeof line, "\n%.2f seconds\n", seconds);
    report += line;
    if (seconds > 0) {
        // The speed over all depths counted, not just the last.
        std::snprintf(line, sizeof line, "%.2f mil leaf nodes/sec",
                      double(total) / 1000000.0 / seconds);
        report += line;
    }
    return report;
}

void ShowPerft() {
    reporter().statusText("Calculating Perft....");
    Position position = gamePosition;
    reporter().statusText(PerftReport(position, 5).c_str());
}

} // namespace corvid
