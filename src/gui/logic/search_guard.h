// How the window's commands meet a running search (the dispatcher's guard): a command that
// edits the game stops the search and waits until it is idle; one that edits the table, the
// book or the settings does the same and afterwards lets the engine go on thinking on its move,
// or the analysis go on, as before.
#pragma once

#include "gui/logic/command_table.h"
#include "gui/logic/window_state.h"

#include <functional>

namespace corvid {

void runGuarded(WindowState& state, SearchUse use, const std::function<void()>& action);

} // namespace corvid
