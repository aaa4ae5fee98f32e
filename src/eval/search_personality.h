// The active search settings record: the ten selectivity switches, the evaluation weights,
// a depth limit and the personality's name.
#pragma once

#include <cstdint>

namespace corvid {

// Stored in this order (the first ten bytes of the record).
struct SearchSwitches {
    bool nullMovePruning = true;
    bool threatMoveDetection = true;
    bool mateThreats = true;
    bool qsearchChecks = true;
    bool singularExtension = true;
    bool lateMoveReductions = true;
    bool lateMovePruning = true;
    bool futilityPruning = true;
    bool probCutPruning = true;
    bool extensions = true;
};

struct SearchPersonality {
    SearchSwitches switches;
    int32_t kingSafetyWeight = 100; // evaluation weights in percent
    int32_t pieceWeight = 100;
    int32_t passedPawnWeight = 100;
    int32_t pawnStructureWeight = 100;
    int32_t depthLimit = 0; // 0 = none
    char name[32] = {};     // appended to the engine name
    bool experiment = false;
    int32_t variant = 0;
};

// Per process: reset to the defaults at engine start; the command side changes it only while
// no search runs.
extern SearchPersonality activePersonality;

// The ten switches in the order the Develop menu lists them (command ids 1400-1409).
struct SearchSwitchEntry {
    const char* menuText;
    bool SearchSwitches::*flag;
};
extern const SearchSwitchEntry SearchSwitchTable[10];

} // namespace corvid
