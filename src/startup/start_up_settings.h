// The preference and settings files read at start-up.
#pragma once

namespace corvid {

// Reads "Corvid.dft", "engineWB.dft" and "engineGUI.dft" (defaults stay for what is missing),
// makes the mode's settings active (protocol: WinBoard settings, desktop: GUI settings), takes
// over the preferences the engine uses and returns the hash size code to start with.
int loadStartUpSettings(bool protocolMode);

} // namespace corvid
