// The headless test match: `corvid testmatch [GAMES] [FILE] [options]` plays the desktop's test
// match without a window and prints the statistics after every game.
#pragma once

namespace corvid {

// argv[1] is "testmatch". Returns the exit code on a usage error; otherwise plays the match and
// ends the process.
int testMatchCommand(int argc, char** argv);

} // namespace corvid
