// The "Display TT Entry" text: what the table holds for a position, from White's view.
#include "chess/move_notation.h"
#include "platform/engine_reporter.h"
#include "search/transposition_table.h"

#include <cinttypes>
#include <cstdio>

namespace corvid {

std::string ttEntryText(const Position& position) {
    const TranspositionTable& table = transpositionTable;
    if (!table.buckets) return "Not Found";
    uint64_t key = ComputeKey(position);
    uint32_t lock = uint32_t(key >> 32);
    // Read while no search runs (the desktop stops it first).
    TTEntry found{};
    bool present = false;
    for (const TTSlot& slot : table.buckets[uint32_t(key) & table.mask].entries) {
        TTEntry entry = ttLoad(slot);
        if (lock != 0 && entry.lock == lock) {
            found = entry;
            present = true;
            break;
        }
    }
    if (!present) return "Not Found";
    const TTEntry& e = found;

    bool whiteToMove = position.sideToMove == White;
    const char* prefix = "";
    if (e.bound() == BoundUpper) prefix = whiteToMove ? "<= " : ">= ";
    if (e.bound() == BoundLower) prefix = whiteToMove ? ">= " : "<= ";
    int score = whiteToMove ? e.score : -e.score;
    char moveText[MoveTextBufferSize] = "";
    if (e.move != NoMove) {
        int length = FormatMove(moveText, e.move, position, SanForm);
        if (length > 0 && moveText[length - 1] == ' ') moveText[length - 1] = '\0';
    }
    char depthText[24];
    std::snprintf(depthText, sizeof depthText, "%d.%d", e.depth / 2, (e.depth & 1) * 50);
    static const char* const BoundNames[4] = {"Fail Low", "Fail High", "Exact", ""};

    char text[320];
    int length =
        std::snprintf(text, sizeof text, "Eval: %s%d  \nMove: %s \nDepth: %s\n%s\nAge: %d\n",
                      prefix, score, moveText, depthText, BoundNames[e.bound()], e.age);
    std::string result(text, size_t(length));
    if (e.hints() & HintSingular) result += "Singular\n";
    if (isProvenMate(e)) result += "Mate\n";
    std::snprintf(text, sizeof text, "Size: %" PRIu64 " KB", table.byteSize / 1024);
    return result + text;
}

void displayEntry(const Position& position) {
    reporter().statusText(ttEntryText(position).c_str());
}

} // namespace corvid
