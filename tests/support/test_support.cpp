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

std::string SharedDataPath(const std::string& relative) {
    std::string path = std::string(CORVID_SHARED_DATA) + "/" + relative;
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? path : "";
}

std::string BuiltProgram(const std::string& name) {
    return std::string(CORVID_BINARY_DIR) + "/" + name;
}

} // namespace corvid::test
