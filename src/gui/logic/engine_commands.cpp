#include "gui/logic/engine_commands.h"

#include "control/preferences.h"
#include "control/search_controller.h"
#include "eval/search_personality.h"
#include "gui/logic/command_ids.h"
#include "search/search_info.h"
#include "search/transposition_table.h"

#include <bit>

namespace corvid {

void chooseDepthItem(WindowState& state, int id) {
    searchInfo.maxDepth.store(id == cmd::Depth52 ? 52 : id - 150);
    state.userDefinedLevel = false;
}

std::string chooseHashSize(int id) {
    const int wanted = id - 1215;
    const uint64_t buckets = ttResize(wanted);
    const int inUse = std::bit_width(buckets) - 1 + 2; // 2^(code - 2) buckets
    preferences.hashSizeCode = inUse;
    if (inUse >= wanted) return "";
    const char* size = HashSizeLabel(inUse);
    return std::string("Not enough memory for ") + HashSizeLabel(wanted) + ": the hash table has " +
           (size[0] ? size : "its old size") + ".";
}

void toggleSearchSwitch(int id) {
    bool& on = activePersonality.switches.*SearchSwitchTable[id - cmd::FirstSearchSwitch].flag;
    on = !on;
}

void toggleExperiment() {
    ttClear();
    activePersonality.experiment = !activePersonality.experiment;
}

void togglePondering() {
    const bool on = !searchInfo.ponderEnabled.load();
    searchInfo.ponderEnabled.store(on);
    if (!on && searchInfo.searchState.load() == SearchState::Pondering) stopSearch();
}

void toggleUseHashTable() {
    transpositionTable.useHashTable.store(!transpositionTable.useHashTable.load());
}

void toggleEvalsFromWhite() {
    searchInfo.evalsFromWhitePov.store(!searchInfo.evalsFromWhitePov.load());
}

void toggleSearchInfo() { searchInfo.showSearchInfo.store(!searchInfo.showSearchInfo.load()); }

} // namespace corvid
