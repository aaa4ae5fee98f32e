// "PLAYER" ("Player Information"): the person's name, shown over their clock and written into
// saved games.
#pragma once

#include "gui/logic/dialog_fields.h"
#include "gui/logic/window_state.h"

namespace corvid {

namespace player {
constexpr int Name = 100;
}

DialogValues openPlayerDialog();
// OK stores the name (at most 38 bytes, cut at a whole character; line breaks and other
// control characters become blanks, as the name is one line of the preferences file) and
// shows it over the clock.
void closePlayerDialog(const DialogValues& values, bool ok, WindowState& state);

} // namespace corvid
