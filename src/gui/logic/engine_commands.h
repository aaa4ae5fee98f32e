// The engine's settings as the menus change them: the search depth, the hash table's size and
// use, the search switches and the experiment flag, pondering, and the display switches the
// search reads. The callers stop the search first where the command table says so.
#pragma once

#include "gui/logic/window_state.h"

#include <string>

namespace corvid {

// The level items 151..159 (1..9 plies) and 160 (52 plies): the depth limit, and the level
// menu checks that item alone.
void chooseDepthItem(WindowState& state, int id);
// The hash size items 1234..1242 ("6 MB" .. "1.5 GB"): 2^(id - 1217) buckets, or the largest
// size that can be allocated (the old table stays when none can). The check mark follows the
// size in use. The status text ("" when the size asked for was allocated).
std::string chooseHashSize(int id);
// The search switch of a Develop item 1400..1409 on or off.
void toggleSearchSwitch(int id);
// "Experiment": clears the hash tables and flips the personality's experiment flag.
void toggleExperiment();
// "&Ponder Next Move"; switching it off ends a ponder search.
void togglePondering();
void toggleUseHashTable();
void toggleEvalsFromWhite();
void toggleSearchInfo();

} // namespace corvid
