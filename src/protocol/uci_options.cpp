#include "protocol/uci_options.h"

#include "control/search_controller.h"
#include "control/settings.h"
#include "control/table_access.h"
#include "control/thread_count.h"
#include "protocol/engine_output.h"
#include "search/search_constants.h"
#include "search/search_info.h"
#include "search/search_threads.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <strings.h>

namespace corvid {

namespace {

constexpr int HashMinimum = 6, HashMaximum = 900, HashDefault = 48;

// UCI says "true", xboard "1".
bool isTrue(const std::string& value) {
    return strcasecmp(value.c_str(), "true") == 0 || value == "1";
}

// A spin value within its range; text that is no number counts as 0 (then clamped).
int spinValue(const std::string& value, int minimum, int maximum) {
    long long number = std::strtoll(value.c_str(), nullptr, 10);
    return int(std::clamp<long long>(number, minimum, maximum));
}

void applyHash(const std::string& value) {
    if (value.empty()) return;
    resizeTableMegabytes(spinValue(value, HashMinimum, HashMaximum));
}
void applyMultiPv(const std::string& value) {
    if (!value.empty()) searchInfo.multiPv.store(spinValue(value, 1, MaxRootLines));
}
void applyAnalysisLines(const std::string& value) {
    if (!value.empty()) searchInfo.analysisLines.store(spinValue(value, 1, MaxRootLines));
}
void applyLowPriority(const std::string& value) { setSearchThreadLowPriority(isTrue(value)); }
void applyClearHash(const std::string&) { clearTables(); }
void applyPonder(const std::string& value) { searchInfo.ponderEnabled.store(isTrue(value)); }
void applyOwnBook(const std::string& value) {
    setBool(ActiveSettings, "BookEnabled", isTrue(value));
}
void applyDebugLog(const std::string& value) { searchInfo.debugLog.store(isTrue(value)); }
void applyChess960(const std::string& value) { setChess960(isTrue(value)); }
void applyThreads(const std::string& value) {
    char* end = nullptr;
    long long count = std::strtoll(value.c_str(), &end, 10);
    if (end != value.c_str()) setSearchThreads(count);
}

const UciOption options[] = {
    {"Hash", OptionType::Spin, "48", HashMinimum, HashMaximum, applyHash},
    {"Low Priority", OptionType::Check, "false", 0, 0, applyLowPriority},
    {"Clear Hash", OptionType::Button, "", 0, 0, applyClearHash},
    {"Ponder", OptionType::Check, nullptr, 0, 0, applyPonder},
    {"OwnBook", OptionType::Check, "true", 0, 0, applyOwnBook},
    {"Debug Log", OptionType::Check, "false", 0, 0, applyDebugLog},
    {"UCI_Chess960", OptionType::Check, "false", 0, 0, applyChess960},
    {"Threads", OptionType::Spin, "1", 1, MaxSearchThreads, applyThreads, false},
    {"MultiPV", OptionType::Spin, "1", 1, MaxRootLines, applyMultiPv},
};

// The options xboard's engine settings dialog offers; their defaults are the values in force.
// MultiPV is the analysis line count there, as xboard's multi-line analysis expects.
struct WinBoardOption {
    const char* name;
    OptionType type;
    int (*current)(); // nullptr for a button
    int minimum, maximum;
    void (*apply)(const std::string& value);
};

int currentHash() {
    int megabytes = tableMegabytes();
    return megabytes > 0 ? megabytes : HashDefault; // before the table exists: its default size
}
int currentOwnBook() { return readBool(ActiveSettings, "BookEnabled") ? 1 : 0; }
int currentAnalysisLines() { return searchInfo.analysisLines.load(); }

const WinBoardOption winBoardOptions[] = {
    {"Hash", OptionType::Spin, currentHash, HashMinimum, HashMaximum, applyHash},
    {"Clear Hash", OptionType::Button, nullptr, 0, 0, applyClearHash},
    {"OwnBook", OptionType::Check, currentOwnBook, 0, 1, applyOwnBook},
    {"MultiPV", OptionType::Spin, currentAnalysisLines, 1, MaxRootLines, applyAnalysisLines},
};

// An option a front end may still send although it is no longer declared.
const UciOption hiddenOptions[] = {
    {"Style", OptionType::Button, "", 0, 0, applyClearHash},
};

std::string lowerCase(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

int clampHashMegabytes(long long megabytes) {
    return int(std::clamp<long long>(megabytes, HashMinimum, HashMaximum));
}

const UciOption* uciOptions(int& count) {
    count = int(sizeof options / sizeof options[0]);
    return options;
}

void writeUciOptionLines() {
    for (const UciOption& option : options) {
        switch (option.type) {
        case OptionType::Spin:
            writeOutput("option name %s type spin default %s min %d max %d\n", option.name,
                        option.defaultText, option.minimum, option.maximum);
            break;
        case OptionType::Check:
            if (option.defaultText)
                writeOutput("option name %s type check default %s\n", option.name,
                            option.defaultText);
            else
                writeOutput("option name %s type check\n", option.name);
            break;
        case OptionType::Button:
            writeOutput("option name %s type button\n", option.name);
            break;
        }
    }
}

void applySetOption(const std::string& line) {
    const std::string lower = lowerCase(line);
    size_t nameAt = lower.find("name ");
    if (nameAt == std::string::npos) return;
    size_t nameStart = nameAt + 5;
    size_t valueAt = lower.find(" value", nameStart);
    std::string name = trimmed(lower.substr(
        nameStart, valueAt == std::string::npos ? std::string::npos : valueAt - nameStart));
    std::string value;
    if (valueAt != std::string::npos) value = trimmed(line.substr(valueAt + 6));
    auto find = [&](const UciOption* table, size_t count) -> const UciOption* {
        for (size_t i = 0; i < count; ++i)
            if (lowerCase(table[i].name) == name) return &table[i];
        return nullptr;
    };
    const UciOption* option = find(options, sizeof options / sizeof options[0]);
    if (!option) option = find(hiddenOptions, sizeof hiddenOptions / sizeof hiddenOptions[0]);
    if (!option) return;
    // Options change the table, the book settings or the search's flags: never under a search.
    if (option->stopsSearch) stopSearch();
    option->apply(value);
}

void writeWinBoardOptionFeatures() {
    for (const WinBoardOption& option : winBoardOptions) {
        switch (option.type) {
        case OptionType::Spin:
            writeOutput("feature option=\"%s -spin %d %d %d\"\n", option.name, option.current(),
                        option.minimum, option.maximum);
            break;
        case OptionType::Check:
            writeOutput("feature option=\"%s -check %d\"\n", option.name, option.current());
            break;
        case OptionType::Button:
            writeOutput("feature option=\"%s -button\"\n", option.name);
            break;
        }
    }
}

void applyWinBoardOption(const std::string& line) {
    size_t nameStart = line.find("option ");
    if (nameStart == std::string::npos) return;
    nameStart += 7;
    size_t equals = line.find('=', nameStart);
    std::string name = trimmed(line.substr(
        nameStart, equals == std::string::npos ? std::string::npos : equals - nameStart));
    std::string value = equals == std::string::npos ? "" : trimmed(line.substr(equals + 1));
    for (const WinBoardOption& option : winBoardOptions)
        if (name == option.name) option.apply(value);
}

} // namespace corvid
