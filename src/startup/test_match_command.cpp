#include "startup/test_match_command.h"

#include "control/search_controller.h"
#include "control/settings.h"
#include "control/table_access.h"
#include "control/test_match.h"
#include "platform/data_files.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"
#include "search/transposition_table.h"
#include "startup/engine_init.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace corvid {

namespace {

const char* const Usage =
    "usage: corvid testmatch [GAMES] [FILE] [--time BASE+INC] [--a SETTINGS] [--b SETTINGS]\n"
    "                        [--pgn FILE] [--hash MB] [--no-book]\n"
    "  GAMES   games to play (default 500)\n"
    "  FILE    start positions, one FEN a line (default openingBook/testStartPositions.txt)\n"
    "  --time  seconds for the game and per move (default 1+0.01)\n"
    "  --a, --b  changes to personality A or B (defaults: both depth=4, B pawnstructure=0):\n"
    "          comma-separated key=value with the keys depth (plies, 0 none), kingsafety,\n"
    "          pieces, passedpawns, pawnstructure (weights in percent), name, and the\n"
    "          switches nullmove, threats, matethreats, qchecks, singular, lmr, lmp,\n"
    "          futility, probcut, extensions (on or off)\n"
    "  --pgn   append every finished game to FILE\n"
    "  --hash  transposition table size in MB (default 48)\n"
    "  --no-book  play without the opening book\n";

int usage(const char* problem) {
    if (problem) std::fprintf(stderr, "corvid testmatch: %s\n", problem);
    std::fputs(Usage, stderr);
    return 2;
}

// The switches by their command-line keys.
struct SwitchKey {
    const char* key;
    bool SearchSwitches::*flag;
};
constexpr SwitchKey SwitchKeys[] = {
    {"nullmove", &SearchSwitches::nullMovePruning},
    {"threats", &SearchSwitches::threatMoveDetection},
    {"matethreats", &SearchSwitches::mateThreats},
    {"qchecks", &SearchSwitches::qsearchChecks},
    {"singular", &SearchSwitches::singularExtension},
    {"lmr", &SearchSwitches::lateMoveReductions},
    {"lmp", &SearchSwitches::lateMovePruning},
    {"futility", &SearchSwitches::futilityPruning},
    {"probcut", &SearchSwitches::probCutPruning},
    {"extensions", &SearchSwitches::extensions},
};

struct WeightKey {
    const char* key;
    int32_t SearchPersonality::*weight;
};
constexpr WeightKey WeightKeys[] = {
    {"kingsafety", &SearchPersonality::kingSafetyWeight},
    {"pieces", &SearchPersonality::pieceWeight},
    {"passedpawns", &SearchPersonality::passedPawnWeight},
    {"pawnstructure", &SearchPersonality::pawnStructureWeight},
    {"depth", &SearchPersonality::depthLimit},
};

bool readInteger(const std::string& text, long low, long high, int32_t& out) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high) return false;
    out = int32_t(value);
    return true;
}

// One key=value change; false when the key or the value is not understood.
bool applySetting(SearchPersonality& p, const std::string& key, const std::string& value) {
    for (const SwitchKey& s : SwitchKeys) {
        if (key != s.key) continue;
        if (value != "on" && value != "off") return false;
        p.switches.*s.flag = value == "on";
        return true;
    }
    for (const WeightKey& w : WeightKeys) {
        if (key != w.key) continue;
        return readInteger(value, 0, key == "depth" ? 60 : 1000, p.*w.weight);
    }
    if (key == "name") {
        std::snprintf(p.name, sizeof p.name, "%s", value.c_str());
        return true;
    }
    return false;
}

// "depth=6,nullmove=off": false with the offending item in `bad`.
bool applySettings(SearchPersonality& p, const std::string& list, std::string& bad) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string item = list.substr(start, comma == std::string::npos ? comma : comma - start);
        size_t equals = item.find('=');
        if (equals == std::string::npos ||
            !applySetting(p, item.substr(0, equals), item.substr(equals + 1))) {
            bad = item;
            return false;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

// "1+0.01": seconds for the game, seconds per move.
bool readTimeControl(const std::string& text, double& baseSeconds, double& increment) {
    char* end = nullptr;
    baseSeconds = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '+') return false;
    const char* rest = end + 1;
    increment = std::strtod(rest, &end);
    bool sane = baseSeconds >= 0 && increment >= 0 && baseSeconds + increment > 0 &&
                baseSeconds < 1e6 && increment < 1e4;
    return end != rest && *end == '\0' && sane;
}

// A one-line description of what a preset changes from the default personality.
std::string describe(const SearchPersonality& p) {
    const SearchPersonality defaults;
    std::string text = "depth=" + std::to_string(p.depthLimit);
    for (const WeightKey& w : WeightKeys)
        if (p.*w.weight != defaults.*w.weight && std::strcmp(w.key, "depth") != 0)
            text += std::string(",") + w.key + "=" + std::to_string(p.*w.weight);
    for (const SwitchKey& s : SwitchKeys)
        if (p.switches.*s.flag != defaults.switches.*s.flag)
            text += std::string(",") + s.key + "=" + (p.switches.*s.flag ? "on" : "off");
    if (p.name[0]) text += std::string(",name=") + p.name;
    return text;
}

// Prints the match's statistics as they come; nothing else reaches it during the match.
class ConsoleReporter final : public EngineReporter {
public:
    void statusText(const char* text) override {
        std::printf("%s\n\n", text);
        std::fflush(stdout);
    }
    void messageBox(const char* title, const char* text) override {
        std::fprintf(stderr, "%s: %s\n", title, text);
    }
};

} // namespace

int testMatchCommand(int argc, char** argv) {
    TestMatchOptions options = defaultTestMatchOptions();
    int hashMegabytes = 0;
    bool book = true;
    int positional = 0;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        std::string bad;
        if (arg == "--time" && hasValue) {
            double baseSeconds = 0;
            if (!readTimeControl(argv[++i], baseSeconds, options.incrementSeconds))
                return usage("the time control is BASE+INC in seconds, e.g. 1+0.01");
            options.baseMinutes = baseSeconds / 60;
        } else if ((arg == "--a" || arg == "--b") && hasValue) {
            SearchPersonality& p = arg == "--a" ? options.personalityA : options.personalityB;
            if (!applySettings(p, argv[++i], bad)) return usage(("unknown setting " + bad).c_str());
        } else if (arg == "--pgn" && hasValue) {
            options.pgnFile = argv[++i];
        } else if (arg == "--hash" && hasValue) {
            int32_t megabytes = 0;
            if (!readInteger(argv[++i], 3, 65536, megabytes)) return usage("bad hash size");
            hashMegabytes = megabytes;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        } else if (arg == "--no-book") {
            book = false;
        } else if (arg.compare(0, 2, "--") != 0 && positional == 0 &&
                   readInteger(arg, 1, 1000000, options.totalGames)) {
            positional = 1;
        } else if (arg.compare(0, 2, "--") != 0 && positional < 2) {
            options.startPositionsFile = arg;
            positional = 2;
        } else {
            return usage(("unexpected argument " + arg).c_str());
        }
    }
    if (!options.pgnFile.empty()) {
        std::FILE* pgn = std::fopen(options.pgnFile.c_str(), "ab");
        if (!pgn) {
            std::fprintf(stderr, "corvid testmatch: cannot write %s\n", options.pgnFile.c_str());
            return 1;
        }
        std::fclose(pgn);
    }

    // The desktop's engine control without a window: its clocks and game ends, the defaults of
    // every setting (no settings files are read).
    searchInfo.protocolMode.store(false);
    setBool(ActiveSettings, "BookEnabled", book);
    initEngine(DefaultHashSizeCode);
    if (hashMegabytes > 0) resizeTableMegabytes(hashMegabytes);
    static ConsoleReporter console;
    setReporter(&console);

    // A mistyped file name would quietly give games from the standard position only.
    std::FILE* starts = openDataFile(options.startPositionsFile, "rb");
    const bool startsFound = starts != nullptr;
    if (starts) std::fclose(starts);
    std::printf("Test match: %d games at %g+%g s, start positions from %s%s\nA: %s\nB: %s\n\n",
                options.totalGames, options.baseMinutes * 60, options.incrementSeconds,
                options.startPositionsFile.c_str(),
                startsFound ? "" : " (not found: every game from the standard position)",
                describe(options.personalityA).c_str(), describe(options.personalityB).c_str());
    startTestMatch(options);
    // The match runs inside one think request: idle again means it is over.
    searchController.waitUntilIdle();
    const TestMatch& m = testMatch;
    std::printf("Match over: %d of %d games, A +%d -%d =%d; start positions: %d loaded, %d "
                "skipped; time forfeits: %d\n",
                m.gamesPlayed, m.totalGames, m.wins, m.losses, m.draws,
                int(m.startPositions.fens.size()), m.startPositions.skipped, m.timeForfeits);
    std::fflush(stdout);
    // The search thread waits for work until the process ends.
    std::_Exit(0);
}

} // namespace corvid
