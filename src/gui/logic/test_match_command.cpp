#include "gui/logic/test_match_command.h"

#include "control/test_match.h"
#include "gui/logic/desktop.h"

namespace corvid {

void startDesktopTestMatch(WindowState& state) {
    startTestMatch();
    // After the start: the names follow the engine playing both sides.
    resetWindowForNewGame(state);
}

} // namespace corvid
