#include "protocol/uci_options.h"

#include "control/search_controller.h"
#include "control/settings.h"
#include "control/table_access.h"
#include "control/thread_count.h"
#include "protocol/engine_output.h"
#include "search/search_info.h"
#include "search/search_threads.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <strings.h>

namespace corvid {

namespace {

constexpr int HashMinimum = 6, HashMaximum = 900, HashDefault = 48;

bool isTrue(const std::string& value) { return strcasecmp(value.c_str(), "true") == 0; }

void applyHash(const std::string& value) {
    if (value.empty()) return;
    long long megabytes = std::strtoll(value.c_str(), nullptr, 10);
    resizeTableMegabytes(clampHashMegabytes(megabytes));
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
    (void)HashDefault;
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

} // namespace corvid
