// Until the settings store lands: the six defaults, all on.
#include "startup/settings_access.h"

#include <cstring>

namespace corvid {

namespace {

struct Entry {
    const char* key;
    bool on;
};
Entry entries[] = {{"BookEnabled", true}, {"BookLearn", true}, {"DrawOffers", true},
                   {"LogGames", true},    {"Resign", true}};

} // namespace

bool activeSettingOn(const char* key) {
    for (const Entry& entry : entries)
        if (std::strcmp(entry.key, key) == 0) return entry.on;
    return false;
}

void setActiveSetting(const char* key, bool on) {
    for (Entry& entry : entries)
        if (std::strcmp(entry.key, key) == 0) entry.on = on;
}

} // namespace corvid
