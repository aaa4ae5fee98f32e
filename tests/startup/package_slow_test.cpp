// The Debian package: cpack builds it from the install rules, with the programs in /usr/bin,
// their data in /usr/share/corvid, the desktop entry and icon, and the dependencies of the
// linked libraries.
#include "eval/bitbase.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>

namespace corvid {
namespace {

TEST(Package, DebianPackageHoldsTheProgramsAndTheirData) {
    test::ScratchDirectory dir;
    std::string out;
    ASSERT_EQ(test::RunCommand(std::string("cd '") + dir.path() + "' && '" + CORVID_CPACK +
                                   "' -G DEB --config '" + CORVID_BINARY_DIR +
                                   "/CPackConfig.cmake' -B '" + dir.path() + "'",
                               out),
              0)
        << out;
    std::string package;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().extension() == ".deb") package = entry.path().string();
    ASSERT_NE(package, "");
    EXPECT_EQ(std::filesystem::path(package).filename().string().rfind("corvid_", 0), 0u);

    // The regular files of the package (dpkg-deb lists "mode owner size date time path").
    ASSERT_EQ(test::RunCommand("dpkg-deb -c '" + package + "'", out), 0);
    std::set<std::string> files;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] == '-') files.insert(line.substr(line.rfind(' ') + 1));
    std::set<std::string> expected = {"./usr/bin/corvid", "./usr/bin/corvid_popcnt",
                                      "./usr/share/corvid/openingBook/TestBook.obk",
                                      "./usr/share/corvid/openingBook/testStartPositions.txt"};
    for (const char* name : BitbaseFileNames)
        expected.insert(std::string("./usr/share/corvid/bitbases/") + name);
    // The desktop finds the program through its entry, which names the icon.
    expected.insert("./usr/share/applications/corvid.desktop");
    expected.insert("./usr/share/icons/hicolor/256x256/apps/corvid.png");
    EXPECT_EQ(files, expected);

    ASSERT_EQ(test::RunCommand("dpkg-deb -f '" + package + "' Package Section Depends", out), 0);
    EXPECT_NE(out.find("Package: corvid\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Section: games\n"), std::string::npos) << out;
    for (const char* library : {"libc6", "libstdc++6", "libqt6widgets6"})
        EXPECT_NE(out.find(library), std::string::npos) << out;
    // apt resolves its dependencies from what a Debian system has (a dry run: nothing changes).
    EXPECT_EQ(test::RunCommand("apt-get install --simulate --no-download '" + package + "'", out),
              0)
        << out;
}

} // namespace
} // namespace corvid
