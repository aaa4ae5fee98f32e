// Command-line tools for developers (front ends never pass arguments): perft, bench and the
// help text.
#pragma once

namespace corvid {

// Runs the command named by argv[1]; returns the process exit code. "--help" prints the help
// (status 0); an unknown command or a bad argument prints it on standard error (status 2).
int runDeveloperCommand(int argc, char** argv);

} // namespace corvid
