#include "search/search_text.h"

#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/move_notation.h"
#include "platform/engine_reporter.h"
#include "search/score.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace corvid {

namespace {

// Scores this close to the mate threshold belong to won or lost positions whose mate distance
// is not known.
constexpr int UnknownMateBand = 4;

std::string trimmed(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

static_assert(LineExact == ReportExact && LineFailHigh == ReportLowerBound &&
                  LineFailLow == ReportUpperBound,
              "a reported bound is the kind of its line");

} // namespace

std::string formatScore(int score, int sideToMove, bool verbose, bool whitePov) {
    if (score == NoScore) return "invalid";
    const int size = std::abs(score);
    // Mates are always told from White's side.
    const int white = sideToMove == Black ? -score : score;
    const char* mater = white > 0 ? "White" : "Black";
    if (std::abs(size - MateThreshold) < UnknownMateBand)
        return verbose ? std::string(mater) + " mates in..." : white > 0 ? "M..." : "-M...";
    char text[48];
    if (size > MateThreshold) {
        int moves = (MateValue + 1 - size) / 2;
        if (verbose)
            std::snprintf(text, sizeof text, "%s mates in %d", mater, moves);
        else
            std::snprintf(text, sizeof text, "%s%d", white > 0 ? "M" : "-M", moves);
        return text;
    }
    int shown = whitePov && sideToMove == Black ? -score : score;
    std::snprintf(text, sizeof text, "%s%d.%02d", shown < 0 ? "-" : "", std::abs(shown) / 100,
                  std::abs(shown) % 100);
    return text;
}

std::string formatTime(double seconds) {
    if (!(seconds > 0)) seconds = 0; // also NaN
    // Beyond this the tenths no longer fit the integer arithmetic below.
    constexpr double MaxSeconds = 1e15;
    if (seconds > MaxSeconds) seconds = MaxSeconds;
    // Counted in tenths, with a little slack so that 75.3 (stored as 75.29999...) shows .3.
    const long long tenths = static_cast<long long>(std::floor(seconds * 10 + 1e-6));
    const long long whole = tenths / 10;
    const long long hours = whole / 3600, minutes = whole % 3600 / 60, secs = whole % 60;
    char text[48];
    int n = 0;
    if (hours >= 1) n = std::snprintf(text, sizeof text, "%.2lld:", hours);
    std::snprintf(text + n, sizeof text - size_t(n), "%.2lld:%.2lld.%lld", minutes, secs,
                  tenths % 10);
    return text;
}

std::string formatLine(const Move* moves, int count, const Position& position, int kind,
                       std::string_view ponderPrefix, bool showMarks, size_t maxLength) {
    std::string text;
    auto fits = [&](size_t more) { return text.size() + more <= maxLength; };
    std::string prefix = trimmed(ponderPrefix);
    if (!prefix.empty()) {
        std::string part = "{ " + prefix + " } ";
        if (!fits(part.size())) return text;
        text += part;
    }
    const bool failed = showMarks && (kind == LineFailHigh || kind == LineFailLow);
    Position p = position;
    for (int i = 0; i < count; ++i) {
        const Move move = moves[i];
        const bool marker = move != NoMove && IsMarker(move);
        if (!marker && !IsPlayable(p, move)) break;
        char buffer[MoveTextBufferSize];
        FormatMove(buffer, move, p, SanForm);
        std::string part = trimmed(buffer) + ' ';
        if (failed) part += kind == LineFailHigh ? "[++] " : "[--] ";
        if (!fits(part.size())) break;
        text += part;
        if (failed || marker) break;
        MakeMoveWithCheck(p, move);
    }
    return text;
}

} // namespace corvid
