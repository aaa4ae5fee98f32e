// Helpers shared by the tests.
#pragma once

#include "chess/fen.h"
#include "platform/engine_reporter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace corvid::test {

// Builds the engine's read-only tables once.
void EnsureTables();

// A position read from FEN with its own CastleInfo kept alive by the returned holder.
struct FenPosition {
    Position position;
    CastleInfo castleInfo;
    explicit FenPosition(const char* fen);
    FenPosition(const FenPosition& other);
    FenPosition& operator=(const FenPosition& other);
};

// Starts the game record afresh from the FEN (the game's position, CastleInfo and record);
// the test fails when the FEN is refused.
void StartTestGame(const char* fen);

// "" when every derived field of the position equals its from-scratch value (sets, keys,
// counts, material, piece-square sums, king squares, checkers, blockers); otherwise the names
// of the fields that differ.
std::string PositionInvariantError(const Position& position);

// Path of a file of the tests' data in the repository (tests/data/; its README says where each
// file comes from).
std::string TestDataPath(const std::string& relative);

// Path of a file in the source tree (e.g. "data/book/twic0920.pgn").
std::string SourcePath(const std::string& relative);

// Runs a shell command; returns its exit status (-1 when it did not exit normally), with its
// standard output in `out` and its standard error in `err` (discarded when err is null).
int RunCommand(const std::string& command, std::string& out, std::string* err = nullptr);

// Records the desktop's status texts and message boxes while it is installed.
class RecordingReporter : public EngineReporter {
public:
    RecordingReporter() { setReporter(this); }
    ~RecordingReporter() override { setReporter(nullptr); }
    void statusText(const char* text) override { status.push_back(text); }
    void messageBox(const char* title, const char* text) override {
        boxes.push_back(std::string(title) + ": " + text);
    }
    int count(const std::string& text) const {
        int n = 0;
        for (const std::string& s : status) n += s == text;
        return n;
    }
    std::vector<std::string> status;
    std::vector<std::string> boxes;
};

// A fresh temporary folder, removed with everything in it at the end.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvid_test_XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : "";
        EXPECT_FALSE(path_.empty());
    }
    ~ScratchDirectory() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    std::string path_;
};

// The search threads the tests run with: CORVID_TEST_THREADS (1 when unset), so that the
// protocol and search suites can be run again with helper threads (under the thread sanitizer).
int TestSearchThreads();

// Path of the built executable (corvid or corvid_popcnt) in the build tree.
std::string BuiltProgram(const std::string& name);
// The programs this build makes for the tests: corvid and corvid_popcnt, or corvid alone in
// the sanitizer builds.
std::vector<std::string> TestedPrograms();

} // namespace corvid::test
