#include "support/test_support.h"

#include "startup/engine_init.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace corvid::test {

void EnsureTables() { initEngineTables(); }

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

bool DerivedFieldsAgree(const Position& p) {
    Position fresh = p;
    SetupDerived(fresh);
    bool same = fresh.occupied == p.occupied && fresh.key == p.key && fresh.pawnKey == p.pawnKey &&
                fresh.pstMg == p.pstMg && fresh.pstEg == p.pstEg && fresh.checkers == p.checkers;
    for (int i = 0; i < 6; ++i) same = same && fresh.pieceBB[i] == p.pieceBB[i];
    for (int c = 0; c < 2; ++c)
        same = same && fresh.colourBB[c] == p.colourBB[c] && fresh.material[c] == p.material[c] &&
               fresh.pawnCount[c] == p.pawnCount[c] && fresh.pieceCount[c] == p.pieceCount[c] &&
               fresh.minorCount[c] == p.minorCount[c] && fresh.kingSquare[c] == p.kingSquare[c] &&
               fresh.blockers[c] == p.blockers[c];
    return same;
}

std::string SharedDataPath(const std::string& relative) {
    // Next to the repository, or next to the folder of git worktrees.
    for (const char* root : {CORVID_SHARED_DATA, CORVID_SHARED_DATA_FROM_WORKTREE}) {
        std::string path = std::string(root) + "/" + relative;
        struct stat info;
        if (::stat(path.c_str(), &info) == 0) return path;
    }
    return "";
}

std::string BuiltProgram(const std::string& name) {
    return std::string(CORVID_BINARY_DIR) + "/" + name;
}

} // namespace corvid::test
