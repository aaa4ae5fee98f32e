// The bench: its node total is the search's signature, the same on every run and in both builds.
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace corvid {
namespace {

struct BenchOutput {
    int positionLines = 0;
    std::string total; // the node count of the "Bench:" line
};

BenchOutput runBench(const std::string& program, int depth) {
    BenchOutput out;
    std::string command = program + " bench " + std::to_string(depth);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text = line;
        if (text.rfind("Position ", 0) == 0) ++out.positionLines;
        unsigned long long nodes = 0, nps = 0;
        if (std::sscanf(line, "Bench: %llu nodes %llu nps", &nodes, &nps) == 2)
            out.total = std::to_string(nodes);
    }
    pclose(pipe);
    return out;
}

TEST(Bench, NodeTotalIsDeterministicAcrossRunsAndBuilds) {
    constexpr int Depth = 5;
    BenchOutput first = runBench(test::BuiltProgram("corvid"), Depth);
    BenchOutput second = runBench(test::BuiltProgram("corvid"), Depth);
    EXPECT_GE(first.positionLines, 35);
    ASSERT_FALSE(first.total.empty());
    EXPECT_EQ(first.total, second.total);
    for (const std::string& name : test::TestedPrograms())
        if (name != "corvid")
            EXPECT_EQ(runBench(test::BuiltProgram(name), Depth).total, first.total) << name;
}

} // namespace
} // namespace corvid
