// "SearchSet" ("Search Settings"): the user-defined level: depth, node and time limits per move.
#pragma once

#include "gui/logic/dialog_fields.h"
#include "gui/logic/window_state.h"

namespace corvid {

namespace searchset {
constexpr int MaximumPly = 100, MaxSeconds = 101, MaxKiloNodes = 105, WaitAtLimit = 110;
}

// The fields show the depth limit, the seconds per move, the node limit in thousands and the
// wait-at-limit box.
DialogValues openSearchSettings();
// OK, in order: the depth, the seconds (a negative value: "Out of Range" / "Seconds set to 0"),
// a depth below 1 ("Max ply set to 1"), the node limit (thousands, in 64 bits) and the box. A
// field without a number keeps its value and says so. Afterwards (OK or Cancel) the level
// menu checks "User Defined Level".
void closeSearchSettings(const DialogValues& values, bool ok, DialogServices& dialogs,
                         WindowState& state);

} // namespace corvid
