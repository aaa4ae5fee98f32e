// The command line: help for people, and a refusal on standard error for what the program does
// not know; neither enters a protocol.
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvid {
namespace {

TEST(CommandLine, HelpNamesTheDeveloperCommandsAndTheStartWithoutArguments) {
    for (const std::string& name : test::TestedPrograms()) {
        std::string out, err;
        EXPECT_EQ(test::RunCommand(test::BuiltProgram(name) + " --help </dev/null", out, &err), 0);
        for (const std::string& text : std::vector<std::string>{
                 name + " perft DEPTH [FEN]", name + " bench [DEPTH [THREADS]]",
                 name + " testmatch [GAMES] [FILE]", name + " --help", "\"uci\"", "xboard",
                 "../share/corvid"})
            EXPECT_NE(out.find(text), std::string::npos) << name << ": " << text;
        EXPECT_EQ(err, "") << name;
    }
}

TEST(CommandLine, UnknownArgumentsGetTheHelpOnStandardErrorAndStatusTwo) {
    const std::string program = test::BuiltProgram("corvid");
    std::string help;
    ASSERT_EQ(test::RunCommand(program + " --help", help), 0);
    // A front end's first line waits on standard input: the program must not answer it.
    for (const char* arguments : {"--frobnicate", "uci", "xboard", "-", "perft", "perft 0",
                                  "perft 13", "bench x", "bench 65", "bench 5 0", "bench 5 257"}) {
        std::string out, err;
        EXPECT_EQ(
            test::RunCommand("printf 'uci\\nisready\\n' | " + program + " " + arguments, out, &err),
            2)
            << arguments;
        EXPECT_EQ(out, "") << arguments;
        EXPECT_EQ(err, help) << arguments;
    }
}

} // namespace
} // namespace corvid
