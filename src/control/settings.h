// Named game settings (resignation, draw offers, game logging, book use and book file) in
// key=value maps, one per play mode, each kept in its own file.
#pragma once

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace corvid {

// An ordered text-to-text map, keys compared byte-wise. The search thread reads the engine's
// map while the command side may change it, so every access takes the map's lock.
class SettingsMap {
public:
    SettingsMap(); // the six defaults
    SettingsMap(const SettingsMap&) = delete;
    SettingsMap& operator=(const SettingsMap&) = delete;

    // The value, or "" when the key is absent (nothing is inserted).
    std::string get(const std::string& key) const;
    bool contains(const std::string& key) const;
    void set(const std::string& key, const std::string& value);
    // A copy of every entry in ascending key order.
    std::map<std::string, std::string> entries() const;
    void assign(const std::map<std::string, std::string>& entries);

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> values_;
};

// Per process: the protocol modes' settings, from "engineWB.dft".
extern SettingsMap WinBoardSettings;
// Per process: the desktop's settings, from "engineGUI.dft".
extern SettingsMap GuiSettings;
// Per process: the settings the engine reads, a copy of one of the two made at start-up.
extern SettingsMap ActiveSettings;

// True when the value is exactly "1" or "true"; a missing key reads false.
bool readBool(const SettingsMap& map, const std::string& key);
// Stores "1" or "0".
void setBool(SettingsMap& map, const std::string& key, bool on);
// The opening book file as stored (e.g. "openingBook\TestBook.obk"; opened through
// findDataFile, which accepts either separator).
std::string bookPath(const SettingsMap& map);
void setBookPath(SettingsMap& map, const std::string& path);

// Merges a key=value file into the map: the key is the text before the first "=", the value
// the rest of the line. Lines without "=" are ignored; keys the file does not name keep their
// values. False (map unchanged) when the file cannot be read.
bool loadSettingsFile(SettingsMap& map, const char* fileName);
bool loadSettingsFile(SettingsMap& map, std::FILE* file);
// Writes one "key=value" line per entry in ascending key order. False when it cannot be
// written.
bool saveSettingsFile(const SettingsMap& map, const char* fileName);
bool saveSettingsFile(const SettingsMap& map, std::FILE* file);
// Makes `to` a copy of `from`.
void copySettings(const SettingsMap& from, SettingsMap& to);

} // namespace corvid
