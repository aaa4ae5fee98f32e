// The name the engine gives itself to front ends and in game records.
#pragma once

#include <string>

namespace corvid {

// "Corvid 1.5" followed by the active personality's name.
std::string engineName();

} // namespace corvid
