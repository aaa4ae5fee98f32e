// Command-line tools for developers (front ends never pass arguments): perft and bench.
#pragma once

namespace corvid {

// Runs the command named by argv[1]; returns the process exit code.
int runDeveloperCommand(int argc, char** argv);

} // namespace corvid
