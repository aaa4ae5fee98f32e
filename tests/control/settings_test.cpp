#include "control/preferences.h"
#include "control/settings.h"
#include "platform/data_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace corvid {
namespace {

// A fresh folder with one file in it, removed afterwards.
struct TempFile {
    std::string folder, path;
    explicit TempFile(const std::string& content, const char* name = "settings.dft") {
        char pattern[] = "/tmp/corvid_settings_XXXXXX";
        folder = mkdtemp(pattern);
        path = folder + "/" + name;
        if (!content.empty()) std::ofstream(path, std::ios::binary) << content;
    }
    ~TempFile() {
        std::remove(path.c_str());
        rmdir(folder.c_str());
    }
    std::string Read() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

const char* DefaultFile = "BookEnabled=1\nBookLearn=1\nBookPath=openingBook\\TestBook.obk\n"
                          "DrawOffers=1\nLogGames=1\nResign=1\n";

TEST(Settings, DefaultsSaveAsSixLinesWithOneBackslash) {
    SettingsMap map;
    TempFile file("");
    ASSERT_TRUE(saveSettingsFile(map, file.path.c_str()));
    EXPECT_EQ(file.Read(), DefaultFile);
    EXPECT_EQ(bookPath(map), "openingBook\\TestBook.obk");
}

TEST(Settings, BooleanRule) {
    SettingsMap map;
    for (const char* value : {"1", "true"}) {
        map.set("X", value);
        EXPECT_TRUE(readBool(map, "X")) << value;
    }
    for (const char* value : {"TRUE", "yes", "1 ", "0", "false", "", " 1", "True"}) {
        map.set("X", value);
        EXPECT_FALSE(readBool(map, "X")) << value;
    }
    // Reading a missing key inserts nothing (the search thread reads these maps).
    EXPECT_FALSE(readBool(map, "Missing"));
    EXPECT_FALSE(map.contains("Missing"));
    setBool(map, "Resign", false);
    EXPECT_EQ(map.get("Resign"), "0");
    setBool(map, "Resign", true);
    EXPECT_EQ(map.get("Resign"), "1");
}

TEST(Settings, LoadMergesKeepsOrderAndValuesWithEquals) {
    SettingsMap map;
    TempFile only("Resign=0\n");
    ASSERT_TRUE(loadSettingsFile(map, only.path.c_str()));
    EXPECT_FALSE(readBool(map, "Resign"));
    for (const char* key : {"BookEnabled", "BookLearn", "DrawOffers", "LogGames"})
        EXPECT_TRUE(readBool(map, key)) << key;
    EXPECT_EQ(map.entries().size(), 6u);

    SettingsMap shuffled;
    TempFile file("Resign=0\nZeta=z\nBookPath=books/a=b.obk\nAlpha=\nno equals sign\n=orphan\n");
    ASSERT_TRUE(loadSettingsFile(shuffled, file.path.c_str()));
    EXPECT_EQ(bookPath(shuffled), "books/a=b.obk");
    EXPECT_FALSE(shuffled.contains("no equals sign"));
    TempFile out("");
    ASSERT_TRUE(saveSettingsFile(shuffled, out.path.c_str()));
    EXPECT_EQ(out.Read(), "Alpha=\nBookEnabled=1\nBookLearn=1\nBookPath=books/a=b.obk\n"
                          "DrawOffers=1\nLogGames=1\nResign=0\nZeta=z\n");

    // A missing file leaves the map as it was.
    EXPECT_FALSE(loadSettingsFile(shuffled, "/nonexistent/engineWB.dft"));
    EXPECT_EQ(shuffled.entries().size(), 8u);
}

TEST(Settings, WindowsLineEndsAndLongLines) {
    SettingsMap unix, windows;
    std::string text = "Resign=0\nBookPath=openingBook\\Other.obk\nDrawOffers=true\n";
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    TempFile a(text), b(crlf);
    ASSERT_TRUE(loadSettingsFile(unix, a.path.c_str()));
    ASSERT_TRUE(loadSettingsFile(windows, b.path.c_str()));
    EXPECT_EQ(unix.entries(), windows.entries());
    EXPECT_TRUE(readBool(windows, "DrawOffers"));

    // A 5,000-character line is one entry; its tail does not become another.
    std::string longValue(5000, 'a');
    longValue.replace(3000, 9, "Resign=0 ");
    SettingsMap map;
    TempFile c("BookPath=" + longValue + "\nLogGames=0\n");
    ASSERT_TRUE(loadSettingsFile(map, c.path.c_str()));
    EXPECT_EQ(bookPath(map), longValue);
    EXPECT_TRUE(readBool(map, "Resign"));
    EXPECT_FALSE(readBool(map, "LogGames"));
    EXPECT_EQ(map.entries().size(), 6u);
}

TEST(Settings, CopyReplacesTheWholeMap) {
    SettingsMap from, to;
    to.set("Extra", "1");
    setBool(from, "Resign", false);
    copySettings(from, to);
    EXPECT_EQ(to.entries(), from.entries());
    EXPECT_FALSE(to.contains("Extra"));
}

TEST(Preferences, FixedLayoutRoundTrip) {
    Preferences defaults;
    TempFile file("", "Corvid.dft");
    ASSERT_TRUE(savePreferences(defaults, file.path.c_str()));
    EXPECT_EQ(file.Read(), "Human\n5\n5\n52\n0\n1\n22\n1\n1\n1\n0\n");

    Preferences changed;
    std::snprintf(changed.playerName, sizeof changed.playerName, "Ann Other");
    changed.baseMinutes = 3;
    changed.incrementSeconds = 2;
    changed.ponderEnabled = 1;
    changed.hashSizeCode = 25;
    changed.autoFlip = 0;
    changed.waitAtLimit = 1;
    ASSERT_TRUE(savePreferences(changed, file.path.c_str()));
    Preferences read;
    ASSERT_TRUE(loadPreferences(read, file.path.c_str()));
    EXPECT_STREQ(read.playerName, "Ann Other");
    EXPECT_EQ(read.baseMinutes, 3);
    EXPECT_EQ(read.incrementSeconds, 2);
    EXPECT_EQ(read.ponderEnabled, 1);
    EXPECT_EQ(read.hashSizeCode, 25);
    EXPECT_EQ(read.autoFlip, 0);
    EXPECT_EQ(read.waitAtLimit, 1);
}

TEST(Preferences, ShortLongAndWindowsFiles) {
    // Fewer lines: the rest keep their values.
    TempFile shortFile("Bob\n7\n");
    Preferences prefs;
    prefs.spareValue = 99;
    ASSERT_TRUE(loadPreferences(prefs, shortFile.path.c_str()));
    EXPECT_STREQ(prefs.playerName, "Bob");
    EXPECT_EQ(prefs.baseMinutes, 7);
    EXPECT_EQ(prefs.incrementSeconds, 5);
    EXPECT_EQ(prefs.spareValue, 99);

    // A name past 38 characters is cut and does not shift the numbers.
    std::string name(60, 'n');
    TempFile longName(name + "\r\n4\r\n3\r\n52\r\n1\r\n0\r\n40\r\n0\r\n0\r\n0\r\n1\r\n");
    Preferences windows;
    ASSERT_TRUE(loadPreferences(windows, longName.path.c_str()));
    EXPECT_EQ(std::string(windows.playerName), name.substr(0, 38));
    EXPECT_EQ(windows.baseMinutes, 4);
    EXPECT_EQ(windows.incrementSeconds, 3);
    EXPECT_EQ(windows.ponderEnabled, 1);
    EXPECT_EQ(windows.showSearchInfo, 0);
    EXPECT_EQ(windows.hashSizeCode, 22); // 40 is no table size
    EXPECT_EQ(windows.waitAtLimit, 1);

    Preferences untouched;
    EXPECT_FALSE(loadPreferences(untouched, "/nonexistent/Corvid.dft"));
    EXPECT_STREQ(untouched.playerName, "Human");
}

TEST(DataFiles, BookPathAsStoredOpensWithForwardSlashes) {
    // The stored name keeps its backslash; the working directory is searched first, then
    // the executable's folder.
    const std::string stored = bookPath(ActiveSettings);
    ASSERT_EQ(stored, "openingBook\\TestBook.obk");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    TempFile here("book", "TestBook.obk");
    std::string work = here.folder + "/work";
    ASSERT_EQ(mkdir(work.c_str(), 0700), 0);
    ASSERT_EQ(chdir(work.c_str()), 0);
    // Only next to the executable.
    std::string besideExe = executableDirectory() + "/openingBook";
    if (std::FILE* existing = std::fopen((besideExe + "/TestBook.obk").c_str(), "rb")) {
        std::fclose(existing);
        EXPECT_EQ(chdir(previous), 0);
        rmdir(work.c_str());
        GTEST_SKIP() << "a real book lies next to the test program";
    }
    bool madeFolder = mkdir(besideExe.c_str(), 0700) == 0;
    std::ofstream(besideExe + "/TestBook.obk") << "exe";
    EXPECT_EQ(findDataFile(stored), besideExe + "/TestBook.obk");
    // In the working directory too: that one wins.
    ASSERT_EQ(mkdir("openingBook", 0700), 0);
    std::ofstream("openingBook/TestBook.obk") << "work";
    EXPECT_EQ(findDataFile(stored), "openingBook/TestBook.obk");
    std::FILE* file = openDataFile(stored, "rb");
    ASSERT_NE(file, nullptr);
    char text[8] = {};
    EXPECT_EQ(std::fread(text, 1, 4, file), 4u);
    EXPECT_STREQ(text, "work");
    std::fclose(file);

    std::remove("openingBook/TestBook.obk");
    rmdir("openingBook");
    std::remove((besideExe + "/TestBook.obk").c_str());
    if (madeFolder) rmdir(besideExe.c_str());
    EXPECT_EQ(chdir(previous), 0);
    rmdir(work.c_str());
}

} // namespace
} // namespace corvid
