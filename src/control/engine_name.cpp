#include "control/engine_name.h"

#include "eval/search_personality.h"

namespace corvid {

std::string engineName() { return std::string("Corvid 1.5") + activePersonality.name; }

} // namespace corvid
