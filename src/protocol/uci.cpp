#include "protocol/uci.h"

#include "chess/coordinate_notation.h"
#include "chess/fen.h"
#include "chess/perft.h"
#include "control/engine_name.h"
#include "control/game.h"
#include "control/new_game.h"
#include "control/search_controller.h"
#include "control/time_control.h"
#include "eval/search_personality.h"
#include "protocol/command_table.h"
#include "protocol/engine_output.h"
#include "protocol/protocol_reporter.h"
#include "protocol/uci_options.h"
#include "search/search_info.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace corvid {

namespace {

std::vector<std::string> tokens(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

// The number after the keyword token, when both are there.
bool numberAfter(const std::vector<std::string>& words, const char* keyword, double& value) {
    for (size_t i = 0; i + 1 < words.size(); ++i) {
        if (words[i] != keyword) continue;
        char* end = nullptr;
        double v = std::strtod(words[i + 1].c_str(), &end);
        if (end == words[i + 1].c_str() || !std::isfinite(v)) return false;
        value = v;
        return true;
    }
    return false;
}

bool hasToken(const std::vector<std::string>& words, const char* word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

int clampedInt(double value, int low, int high) {
    return int(std::clamp(value, double(low), double(high)));
}

void goCommand(const std::string& line) {
    stopSearch();
    std::vector<std::string> words = tokens(line);
    double value = 0;
    if (hasToken(words, "perft")) {
        if (numberAfter(words, "perft", value)) uciPerft(clampedInt(value, 1, 12));
        return;
    }
    const Position& p = currentGamePosition();
    int side = p.sideToMove;
    if (line.find("infinite") != std::string::npos) {
        searchInfo.humanSide.store(EnginePlaysNeither);
        requestAnalysis();
        return;
    }
    bool clockGiven = false;
    // Milliseconds to centiseconds, within sane bounds.
    auto clockReading = [](double ms) { return int32_t(saneSeconds(ms / 1000) * 100); };
    if (numberAfter(words, "wtime", value)) {
        searchInfo.whiteClock.store(clockReading(value));
        clockGiven = true;
    }
    if (numberAfter(words, "btime", value)) {
        searchInfo.blackClock.store(clockReading(value));
        clockGiven = true;
    }
    double increment = 0;
    if (numberAfter(words, side == White ? "winc" : "binc", value))
        increment = saneSeconds(std::trunc(value) / 1000);
    searchInfo.incrementSeconds.store(increment);
    int32_t timeLeft = side == White ? searchInfo.whiteClock.load() : searchInfo.blackClock.load();
    int maxDepth = 64;
    if (numberAfter(words, "depth", value))
        maxDepth = clampedInt(value, 1, 64); // depth 0 searches one ply
    if (numberAfter(words, "mate", value)) maxDepth = clampedInt(2 * value, 1, 64);
    searchInfo.maxDepth.store(maxDepth);
    int64_t maxNodes = 0;
    if (numberAfter(words, "nodes", value)) maxNodes = int64_t(std::clamp(value, 1.0, 9.0e18));
    searchInfo.maxNodes.store(maxNodes);
    double movesToGo = 0;
    if (numberAfter(words, "movestogo", value) && value >= 1) movesToGo = std::min(value, 10000.0);
    if (movesToGo > 0)
        storeTimeBudget(movesToGoBudget(timeLeft * 0.01, int(movesToGo), increment));
    else
        allocateTime(timeLeft * 0.01, 0, increment);
    bool moveTimeGiven = numberAfter(words, "movetime", value);
    if (moveTimeGiven) {
        TimeBudget budget;
        budget.targetTime = saneSeconds(std::trunc(value) / 1000) * 0.98;
        storeTimeBudget(budget);
    }
    // Without a clock or a move time the search runs until "stop" or its depth or node limit.
    if (!clockGiven && !moveTimeGiven) {
        TimeBudget unlimited;
        unlimited.targetTime = MaxClockSeconds;
        storeTimeBudget(unlimited);
    }
    searchInfo.humanSide.store(side ^ 1);
    if (line.find("ponder") != std::string::npos) {
        requestPonder();
        debugLog("Start Ponder...\n");
    } else {
        requestThink();
        debugLog("Start Thinking...\n");
    }
}

// A position the front end sent that cannot be set up is said so, and until a valid one
// arrives every search answers no move instead of playing in a position never sent.
void rejectPosition(const char* reason, const std::string& text) {
    writeOutput("info string %s: %s\n", reason, text.c_str());
    searchInfo.positionRejected.store(true);
}

void positionCommand(const std::string& line) {
    stopSearch();
    searchInfo.positionRejected.store(false);
    if (line.find("position startpos") != std::string::npos) newGame(false, true, nullptr);
    size_t fenAt = line.find("position fen ");
    if (fenAt != std::string::npos) {
        size_t fenStart = fenAt + 13;
        size_t movesAt = line.find(" moves", fenStart);
        std::string fen = line.substr(fenStart, movesAt == std::string::npos ? std::string::npos
                                                                             : movesAt - fenStart);
        Position start;
        CastleInfo castleInfo;
        const char* error = nullptr;
        if (!SetPositionFromFen(start, fen.c_str(), &castleInfo, &error)) {
            rejectPosition(error ? error : "Not a valid Position", fen);
            return;
        }
        newGame(false, true, &start);
    }
    size_t movesAt = line.find("moves ");
    if (movesAt == std::string::npos) return;
    std::istringstream in(line.substr(movesAt + 6));
    std::string token;
    while (in >> token)
        if (!playGameMoveText(token.c_str())) {
            rejectPosition("Illegal move", token);
            return;
        }
}

void isReadyCommand(const std::string&) {
    debugLog("readyok\n");
    writeOutput("readyok\n");
}
void ponderHitCommand(const std::string&) { ponderHit(); }
void stopCommand(const std::string&) { stopSearch(); }
void quitCommand(const std::string&) { searchInfo.quitRequested.store(true); }
void setOptionCommand(const std::string& line) { applySetOption(line); }

// Applied in this order; one line may trigger several.
const Command uciCommands[] = {
    {"isready", MatchContains, isReadyCommand},
    {"go", MatchContains, goCommand},
    {"ponderhit", MatchContains, ponderHitCommand},
    {"stop", MatchContains, stopCommand},
    {"quit", MatchContains, quitCommand},
    {"position", MatchContains, positionCommand},
    {"setoption name", MatchBegins, setOptionCommand},
};

} // namespace

void uciStartup() {
    debugLog("--- uciStartup --- \n");
    searchInfo.uciMode.store(true);
    useUciReporter();
    searchInfo.postThinking.store(true);
    writeOutput("id name %s\n", engineName().c_str());
    writeOutput("id author Orrin\n");
    writeUciOptionLines();
    writeOutput("uciok\n");
}

void uciCommand(const std::string& line) {
    debugLog("Received : %s\n", line.c_str());
    runCommandTable(uciCommands, sizeof uciCommands / sizeof uciCommands[0], line);
}

void uciPerft(int depth) {
    Position p = currentGamePosition();
    PerftDivide divide = PerftByMove(p, depth);
    for (int i = 0; i < divide.count; ++i) {
        char text[16];
        FormatCoordinate(text, divide.moves[i], p, searchInfo.chess960.load());
        writeOutput("%s: %" PRIu64 "\n", text, divide.nodes[i]);
    }
    writeOutput("\nNodes searched: %" PRIu64 "\n\n", divide.total);
}

} // namespace corvid
