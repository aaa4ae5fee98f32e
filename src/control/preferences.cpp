#include "control/preferences.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace corvid {

Preferences preferences;

namespace {

constexpr long MaxPreferencesBytes = 1 << 16;

} // namespace

bool loadPreferences(Preferences& prefs, const char* fileName) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) return false;
    loadPreferences(prefs, file);
    std::fclose(file);
    return true;
}

bool loadPreferences(Preferences& prefs, std::FILE* file) {
    if (!file) return false;
    std::string text;
    char chunk[4096];
    size_t n;
    while (text.size() < size_t(MaxPreferencesBytes) &&
           (n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, n);
    if (text.empty()) return true;

    // The name line, whole (a long one does not spill into the numbers), without its line end.
    size_t end = text.find_first_of("\r\n");
    std::string name = text.substr(0, end);
    if (name.size() > size_t(PlayerNameLength)) name.resize(PlayerNameLength);
    std::memset(prefs.playerName, 0, sizeof prefs.playerName);
    std::memcpy(prefs.playerName, name.data(), name.size());
    if (end == std::string::npos) return true;
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;

    int* values[] = {&prefs.baseMinutes,       &prefs.incrementSeconds,  &prefs.spareValue,
                     &prefs.ponderEnabled,     &prefs.showSearchInfo,    &prefs.hashSizeCode,
                     &prefs.highlightLastMove, &prefs.evalsFromWhitePov, &prefs.autoFlip,
                     &prefs.waitAtLimit};
    const char* cursor = text.c_str() + end + 1;
    for (int* value : values) {
        char* after = nullptr;
        errno = 0;
        long number = std::strtol(cursor, &after, 10);
        if (after == cursor || errno == ERANGE || number < INT_MIN || number > INT_MAX) break;
        *value = int(number);
        cursor = after;
    }
    if (prefs.hashSizeCode < MinHashSizeCode || prefs.hashSizeCode > MaxHashSizeCode)
        prefs.hashSizeCode = DefaultHashSizeCode;
    return true;
}

bool savePreferences(const Preferences& prefs, const char* fileName) {
    std::FILE* file = std::fopen(fileName, "wb");
    if (!file) return false;
    char name[PlayerNameLength + 1];
    std::snprintf(name, sizeof name, "%s", prefs.playerName);
    for (char& c : name)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(file, "%s\n%d\n%d\n%d\n%d\n%d\n%d\n", name, prefs.baseMinutes,
                 prefs.incrementSeconds, prefs.spareValue, prefs.ponderEnabled,
                 prefs.showSearchInfo, prefs.hashSizeCode);
    std::fprintf(file, "%d\n%d\n", prefs.highlightLastMove, prefs.evalsFromWhitePov);
    std::fprintf(file, "%d\n%d\n", prefs.autoFlip, prefs.waitAtLimit);
    bool written = std::ferror(file) == 0;
    return std::fclose(file) == 0 && written;
}

} // namespace corvid
