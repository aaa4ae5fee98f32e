#include "gui/logic/player_dialog.h"

#include "control/preferences.h"
#include "gui/logic/desktop.h"

#include <cstring>

namespace corvid {

namespace {

// The name as it can be kept: one line, at most PlayerNameLength bytes of whole UTF-8
// characters.
std::string storableName(const std::string& text) {
    std::string name;
    for (char c : text) name += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    if (name.size() <= size_t(PlayerNameLength)) return name;
    size_t cut = PlayerNameLength;
    // Back to the first byte of the character the cut falls into.
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut);
}

} // namespace

DialogValues openPlayerDialog() {
    DialogValues values;
    values.texts[player::Name] = preferences.playerName;
    return values;
}

void closePlayerDialog(const DialogValues& values, bool ok, WindowState& state) {
    if (!ok) return;
    const std::string name = storableName(values.text(player::Name));
    std::memset(preferences.playerName, 0, sizeof preferences.playerName);
    std::memcpy(preferences.playerName, name.data(), name.size());
    refreshNamesAndOrientation(state);
}

} // namespace corvid
