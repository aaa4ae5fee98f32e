// Random and mutated settings and preference files: nothing crashes, every entry read is one
// whole line, and what is saved reads back the same.
#include "control/preferences.h"
#include "control/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace corvid {
namespace {

TEST(SettingsFuzz, RandomLinesLoadAndRoundTrip) {
    std::mt19937_64 rng(4242);
    const std::string alphabet = "=\r\n \t\\/ResignBookPathLog01truefalse\x01\xff";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        size_t length = rng() % (round % 50 == 0 ? 9000 : 300);
        for (size_t i = 0; i < length; ++i)
            text += round % 5 == 0 ? char(rng()) : alphabet[rng() % alphabet.size()];
        // In memory: thousands of files would be slow on some disks.
        SettingsMap map;
        std::FILE* in = fmemopen(text.data(), text.size(), "rb");
        ASSERT_TRUE(loadSettingsFile(map, in));
        std::fclose(in);
        for (const auto& [key, value] : map.entries()) {
            ASSERT_FALSE(key.empty());
            ASSERT_EQ(key.find_first_of("\r\n="), std::string::npos) << key;
            ASSERT_EQ(value.find_first_of("\r\n"), std::string::npos) << value;
        }
        char* saved = nullptr;
        size_t savedSize = 0;
        std::FILE* out = open_memstream(&saved, &savedSize);
        ASSERT_TRUE(saveSettingsFile(map, out));
        std::fclose(out);
        SettingsMap reread;
        in = fmemopen(saved, savedSize, "rb");
        if (in) {
            loadSettingsFile(reread, in);
            std::fclose(in);
        }
        std::free(saved);
        // Values holding a NUL byte are cut there when written; everything else survives.
        bool hasNul = false;
        for (const auto& [key, value] : map.entries())
            hasNul = hasNul || key.find('\0') != std::string::npos ||
                     value.find('\0') != std::string::npos;
        if (!hasNul) {
            ASSERT_EQ(reread.entries(), map.entries());
        }
        readBool(map, std::string(1, char(rng())));
    }
}

TEST(SettingsFuzz, RandomPreferenceFiles) {
    std::mt19937_64 rng(99);
    const std::string alphabet = "0123456789-+ \r\n\tabc";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        size_t length = rng() % 200;
        for (size_t i = 0; i < length; ++i)
            text += round % 4 == 0 ? char(rng()) : alphabet[rng() % alphabet.size()];
        Preferences prefs;
        std::FILE* in = fmemopen(text.data(), text.size(), "rb");
        if (in) {
            ASSERT_TRUE(loadPreferences(prefs, in));
            std::fclose(in);
        }
        ASSERT_LE(std::string(prefs.playerName).size(), size_t(PlayerNameLength));
        ASSERT_GE(prefs.hashSizeCode, MinHashSizeCode);
        ASSERT_LE(prefs.hashSizeCode, MaxHashSizeCode);
    }
}

} // namespace
} // namespace corvid
