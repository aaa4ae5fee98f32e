// The preference and settings files read at start-up.
#pragma once

namespace corvid {

// Hash size codes the preference file may hold; anything else means the default.
constexpr int MinHashSizeCode = 19, MaxHashSizeCode = 27, StandardHashSizeCode = 22;

// Reads "Corvid.dft", "engineWB.dft" and "engineGUI.dft" (defaults stay for what is missing),
// makes the protocol modes' settings active, and returns the hash size code to start with.
int loadStartUpSettings();

// A stored hash size code made valid.
int validHashSizeCode(int code);

} // namespace corvid
