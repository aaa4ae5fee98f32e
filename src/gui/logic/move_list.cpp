#include "gui/logic/move_list.h"

#include <algorithm>
#include <cstdio>

namespace corvid {

namespace {
int firstPair(const GameSnapshot& game) { return game.startPly / 2; }
// The record pads its texts with blanks; the list shows them without.
std::string trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}
} // namespace

std::vector<std::string> moveListEntries(const GameSnapshot& game) {
    std::vector<std::string> entries;
    const int count = std::min<int>(game.moveCount, int(game.moveTexts.size()));
    for (int pair = firstPair(game); 2 * pair < count; ++pair) {
        const int whitePly = 2 * pair, blackPly = whitePly + 1;
        std::string white =
            whitePly < game.startPly ? "..." : trimmed(game.moveTexts[size_t(whitePly)]);
        char text[96];
        if (blackPly < count)
            std::snprintf(text, sizeof text, "%d. %s  |  %s", pair + 1, white.c_str(),
                          trimmed(game.moveTexts[size_t(blackPly)]).c_str());
        else
            std::snprintf(text, sizeof text, "%d. %s ", pair + 1, white.c_str());
        entries.emplace_back(text);
    }
    return entries;
}

int moveListSelection(const GameSnapshot& game) {
    int entries = int(moveListEntries(game).size());
    if (entries == 0) return -1;
    int entry = (game.ply - 1) / 2 - firstPair(game);
    if (game.ply <= game.startPly) entry = 0;
    return std::clamp(entry, 0, entries - 1);
}

int plyOfEntry(const GameSnapshot& game, int entry) {
    entry = std::max(entry, 0);
    int ply = 2 * (firstPair(game) + entry) + 2;
    return std::clamp(ply, game.startPly, std::max(game.moveCount, game.startPly));
}

} // namespace corvid
