#include "eval/search_personality.h"

namespace corvid {

SearchPersonality activePersonality;

const SearchSwitchEntry SearchSwitchTable[10] = {
    {"Null Move Pruning", &SearchSwitches::nullMovePruning},
    {"Late Move Reductions", &SearchSwitches::lateMoveReductions},
    {"Late Move Pruning", &SearchSwitches::lateMovePruning},
    {"Futility Pruning", &SearchSwitches::futilityPruning},
    {"ProbCut Pruning", &SearchSwitches::probCutPruning},
    {"Threat Move Detection", &SearchSwitches::threatMoveDetection},
    {"Singular Extenstion", &SearchSwitches::singularExtension},
    {"Extensions", &SearchSwitches::extensions},
    {"Q-Search Checks", &SearchSwitches::qsearchChecks},
    {"Mate Threats", &SearchSwitches::mateThreats},
};

} // namespace corvid
