#include "control/settings.h"

#include "platform/text_line.h"

#include <cstdio>

namespace corvid {

SettingsMap WinBoardSettings;
SettingsMap GuiSettings;
SettingsMap ActiveSettings;

namespace {

// Lines beyond this are not settings anyone wrote; they are skipped whole.
constexpr size_t MaxSettingsLine = 65536;

// A line end inside a key or value would split the entry when the file is read back.
std::string OneLine(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

} // namespace

SettingsMap::SettingsMap()
    : values_{{"BookEnabled", "1"}, {"BookLearn", "1"}, {"BookPath", "openingBook\\TestBook.obk"},
              {"DrawOffers", "1"},  {"LogGames", "1"},  {"Resign", "1"}} {}

std::string SettingsMap::get(const std::string& key) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = values_.find(key);
    return found == values_.end() ? std::string() : found->second;
}

bool SettingsMap::contains(const std::string& key) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return values_.count(key) != 0;
}

void SettingsMap::set(const std::string& key, const std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    values_[key] = value;
}

std::map<std::string, std::string> SettingsMap::entries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return values_;
}

void SettingsMap::assign(const std::map<std::string, std::string>& entries) {
    std::lock_guard<std::mutex> lock(mutex_);
    values_ = entries;
}

bool readBool(const SettingsMap& map, const std::string& key) {
    std::string value = map.get(key);
    return value == "1" || value == "true";
}

void setBool(SettingsMap& map, const std::string& key, bool on) { map.set(key, on ? "1" : "0"); }

std::string bookPath(const SettingsMap& map) { return map.get("BookPath"); }

void setBookPath(SettingsMap& map, const std::string& path) { map.set("BookPath", path); }

bool loadSettingsFile(SettingsMap& map, const char* fileName) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) return false;
    loadSettingsFile(map, file);
    std::fclose(file);
    return true;
}

bool loadSettingsFile(SettingsMap& map, std::FILE* file) {
    if (!file) return false;
    std::map<std::string, std::string> merged = map.entries();
    std::string line;
    bool tooLong = false;
    while (readTextLine(file, line, MaxSettingsLine, tooLong)) {
        size_t equals = line.find('=');
        if (tooLong || equals == std::string::npos || equals == 0) continue;
        merged[line.substr(0, equals)] = line.substr(equals + 1);
    }
    map.assign(merged);
    return true;
}

bool saveSettingsFile(const SettingsMap& map, const char* fileName) {
    std::FILE* file = std::fopen(fileName, "wb");
    if (!file) return false;
    bool written = saveSettingsFile(map, file);
    return std::fclose(file) == 0 && written;
}

bool saveSettingsFile(const SettingsMap& map, std::FILE* file) {
    if (!file) return false;
    for (const auto& [key, value] : map.entries())
        std::fprintf(file, "%s=%s\n", OneLine(key).c_str(), OneLine(value).c_str());
    return std::fflush(file) == 0 && std::ferror(file) == 0;
}

void copySettings(const SettingsMap& from, SettingsMap& to) {
    if (&from != &to) to.assign(from.entries());
}

} // namespace corvid
