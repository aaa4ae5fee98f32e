#include "support/test_support.h"

#include "chess/game_record.h"
#include "startup/engine_init.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/wait.h>

namespace corvid::test {

void EnsureTables() { initEngineTables(); }

int TestSearchThreads() {
    const char* text = std::getenv("CORVID_TEST_THREADS");
    int threads = text ? std::atoi(text) : 1;
    return threads > 1 ? threads : 1;
}

FenPosition::FenPosition(const char* fen) {
    EnsureTables();
    const char* error = nullptr;
    bool ok = SetPositionFromFen(position, fen, &castleInfo, &error);
    EXPECT_TRUE(ok) << fen << ": " << (error ? error : "");
}

FenPosition::FenPosition(const FenPosition& other)
    : position(other.position), castleInfo(other.castleInfo) {
    position.castleInfo = &castleInfo;
}

FenPosition& FenPosition::operator=(const FenPosition& other) {
    position = other.position;
    castleInfo = other.castleInfo;
    position.castleInfo = &castleInfo;
    return *this;
}

void StartTestGame(const char* fen) {
    EnsureTables();
    Position start;
    ASSERT_TRUE(SetPositionFromFen(start, fen, &gameCastleInfo)) << fen;
    StartGameRecord(start);
}

std::string PositionInvariantError(const Position& p) {
    Position fresh = p;
    SetupDerived(fresh);
    std::string error;
    auto check = [&](bool same, const char* name) {
        if (!same) error += std::string(error.empty() ? "" : ", ") + name;
    };
    for (int t = 0; t < 6; ++t) check(fresh.pieceBB[t] == p.pieceBB[t], "pieceBB");
    for (int c = 0; c < 2; ++c) {
        check(fresh.colourBB[c] == p.colourBB[c], "colourBB");
        check(fresh.kingSquare[c] == p.kingSquare[c], "kingSquare");
        check(fresh.pawnCount[c] == p.pawnCount[c], "pawnCount");
        check(fresh.pieceCount[c] == p.pieceCount[c], "pieceCount");
        check(fresh.minorCount[c] == p.minorCount[c], "minorCount");
        check(fresh.material[c] == p.material[c], "material");
        check(fresh.blockers[c] == p.blockers[c], "blockers");
    }
    check(fresh.occupied == p.occupied, "occupied");
    check(fresh.key == p.key, "key");
    check(fresh.pawnKey == p.pawnKey, "pawnKey");
    check(fresh.pstMg == p.pstMg, "pstMg");
    check(fresh.pstEg == p.pstEg, "pstEg");
    check(fresh.checkers == p.checkers, "checkers");
    return error;
}

std::string TestDataPath(const std::string& relative) {
    return std::string(CORVID_SOURCE_DIR) + "/tests/data/" + relative;
}

std::string SourcePath(const std::string& relative) {
    return std::string(CORVID_SOURCE_DIR) + "/" + relative;
}

int RunCommand(const std::string& command, std::string& out, std::string* err) {
    out.clear();
    ScratchDirectory scratch;
    std::string errFile = scratch.file("stderr");
    std::FILE* pipe = ::popen((command + " 2>" + (err ? errFile : "/dev/null")).c_str(), "r");
    if (!pipe) return -1;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    int status = ::pclose(pipe);
    if (err) {
        std::ifstream in(errFile);
        err->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string BuiltProgram(const std::string& name) {
    return std::string(CORVID_BINARY_DIR) + "/" + name;
}

std::vector<std::string> TestedPrograms() {
    std::vector<std::string> names;
    std::string list = CORVID_TESTED_PROGRAMS;
    for (size_t start = 0; start <= list.size();) {
        size_t end = std::min(list.find(',', start), list.size());
        if (end > start) names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

} // namespace corvid::test
