#include "gui/logic/game_status.h"

#include <cstdio>

namespace corvid {

std::string moveNumberText(const GameSnapshot& game) {
    char text[48];
    std::snprintf(text, sizeof text, "Move # %d%s", game.ply / 2 + 1,
                  game.inCheck ? "  CHECK!" : "");
    return text;
}

std::string materialSurplus(const GameSnapshot& game, int colour) {
    int count[2][5] = {};
    for (uint8_t piece : game.board)
        if (piece != Empty && TypeOf(piece) < King) ++count[ColourOf(piece)][TypeOf(piece)];
    std::string text;
    for (int type = Pawn; type <= Queen; ++type) {
        int more = count[colour][type] - count[colour ^ 1][type];
        if (more <= 0) continue;
        text += std::to_string(more);
        text += "pNBRQ"[type];
        text += ", ";
    }
    return text;
}

} // namespace corvid
