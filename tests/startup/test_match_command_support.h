// Running `corvid testmatch` as a developer does, in a scratch folder, and reading its output.
#pragma once

#include "support/test_support.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

namespace corvid::test {

struct CommandRun {
    int exitCode = -1;
    std::string output; // standard output and error together
    double wallSeconds = 0;
    double cpuSeconds = 0; // what the program used of the processor
};

// Runs the built program with the arguments (each passed as one word) in the folder.
inline CommandRun RunCorvid(const ScratchDirectory& folder, const std::vector<std::string>& args) {
    std::string command = "cd '" + folder.path() + "' && '" + BuiltProgram("corvid") + "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " 2>&1";
    CommandRun run;
    auto cpuOfChildren = [] {
        rusage usage{};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    const double cpuBefore = cpuOfChildren();
    const auto start = std::chrono::steady_clock::now();
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = cpuOfChildren() - cpuBefore;
    return run;
}

// How often text occurs in the output.
inline int Occurrences(const std::string& output, const std::string& text) {
    int count = 0;
    for (size_t at = output.find(text); at != std::string::npos; at = output.find(text, at + 1))
        ++count;
    return count;
}

} // namespace corvid::test
