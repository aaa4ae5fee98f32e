#include "protocol/winboard.h"

#include "chess/fen.h"
#include "control/engine_name.h"
#include "control/game.h"
#include "control/game_end.h"
#include "control/new_game.h"
#include "control/opponent_move.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "control/time_control.h"
#include "protocol/command_table.h"
#include "protocol/engine_output.h"
#include "protocol/protocol_game.h"
#include "protocol/uci.h"
#include "search/search_info.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace corvid {

WinBoardState winboardState;

namespace {

bool stopLine = false; // set by a command that ends the scan of its line

void restartAnalysis() { requestAnalysis(); }

void nameCommand(const std::string& line) {
    std::snprintf(winboardState.opponentName, sizeof winboardState.opponentName, "%s",
                  line.size() > 5 ? line.c_str() + 5 : "");
    stopLine = true;
}

void writeFeatures() {
    writeOutput("feature myname=\"%s\" name=1 setboard=1 ping=1\n", engineName().c_str());
    writeOutput("feature done=1\n");
}

void protoverCommand(const std::string&) { writeFeatures(); }

// "time N" / "otim N": the time used by that clock, from the time left it reports.
int32_t timeUsed(double left) {
    double base = std::trunc(searchInfo.baseMinutes.load() * 6000);
    return int32_t(std::clamp(base - std::trunc(left), -1e9, 1e9));
}

void timeCommand(const std::string& line) {
    double left = 0;
    if (std::sscanf(line.c_str(), "time %lf", &left) != 1) return;
    left = saneSeconds(left / 100) * 100;
    winboardState.lastTimeCommand = left;
    (searchInfo.humanSide.load() == HumanBlack ? searchInfo.whiteClock : searchInfo.blackClock)
        .store(timeUsed(left));
}

void otimCommand(const std::string& line) {
    size_t at = line.find("otim");
    double left = 0;
    if (std::sscanf(line.c_str() + at, "otim %lf", &left) != 1) return;
    left = saneSeconds(left / 100) * 100;
    (searchInfo.humanSide.load() == HumanBlack ? searchInfo.blackClock : searchInfo.whiteClock)
        .store(timeUsed(left));
}

void forceCommand(const std::string&) {
    searchInfo.analyzeMode.store(false);
    searchInfo.humanSide.store(EnginePlaysNeither);
    stopSearch();
}

bool isMoveLine(const std::string& line) {
    return line.size() >= 4 && std::isdigit(static_cast<unsigned char>(line[1])) &&
           std::isdigit(static_cast<unsigned char>(line[3]));
}

void moveCommand(const std::string& line) {
    if (!isMoveLine(line)) return;
    bool analysing = searchInfo.analyzeMode.load();
    if (analysing) stopSearch();
    searchInfo.gameResult.store(GameRunning);
    std::string text = line.substr(0, line.find(' '));
    if (enterOpponentMove(text.c_str(), !analysing, winboardAllocateTime) ==
        OpponentMoveResult::Illegal)
        writeOutput("Illegal move: %s\n", text.c_str());
    if (analysing) restartAnalysis();
}

void goCommand(const std::string&) {
    searchInfo.humanSide.store(currentGamePosition().sideToMove ^ 1);
    searchInfo.analyzeMode.store(false);
    stopSearch();
    winboardAllocateTime();
    searchInfo.gameResult.store(GameRunning);
    requestThink();
    debugLog("Start Thinking...\n");
}

void setboardCommand(const std::string& line) {
    size_t at = line.find("setboard");
    bool analysing = searchInfo.analyzeMode.load();
    stopSearch();
    Position start;
    CastleInfo castleInfo;
    const char* fen = line.c_str() + at + 8;
    if (SetPositionFromFen(start, fen, &castleInfo))
        newGame(false, true, &start);
    else
        writeOutput("tellusererror Illegal position\n");
    if (analysing) restartAnalysis();
}

void levelCommand(const std::string& line) {
    int moves = 0;
    double base = 0, increment = 0;
    if (!parseLevel(line.substr(line.find("level")), moves, base, increment)) return;
    searchInfo.movesPerControl.store(moves);
    searchInfo.baseMinutes.store(base);
    searchInfo.incrementSeconds.store(increment);
    winboardState.fixedMoveSeconds = 0;
}

void stCommand(const std::string& line) {
    double seconds = 0;
    if (std::sscanf(line.c_str(), "st %lf", &seconds) == 1)
        winboardState.fixedMoveSeconds = saneSeconds(seconds);
}

void postCommand(const std::string&) { searchInfo.postThinking.store(true); }
void nopostCommand(const std::string&) { searchInfo.postThinking.store(false); }
void hardCommand(const std::string&) { searchInfo.ponderEnabled.store(true); }
void easyCommand(const std::string&) {
    searchInfo.ponderEnabled.store(false);
    // A ponder search in progress ends; a think goes on.
    if (searchInfo.ponderState.load() == PonderState::Pondering) stopSearch();
}

void newCommand(const std::string&) {
    // In analyze mode only "exit" leaves it: a new game is analysed from the start position.
    bool analysing = searchInfo.analyzeMode.load();
    newGame(true, true, nullptr);
    protocolGameResets();
    if (!analysing) return;
    searchInfo.humanSide.store(EnginePlaysNeither);
    searchInfo.analyzeMode.store(true);
    restartAnalysis();
}

void quitCommand(const std::string&) {
    searchInfo.quitRequested.store(true);
    stopLine = true;
}

void takeBack(int plies) {
    bool analysing = searchInfo.analyzeMode.load();
    stopSearch();
    if (takeBackPlies(plies)) searchInfo.gameResult.store(GameRunning);
    if (analysing) restartAnalysis();
}

void undoCommand(const std::string&) { takeBack(1); }
void removeCommand(const std::string&) { takeBack(2); }

void evaluateCommand(const std::string&) {
    stopSearch();
    writeOutput("Evaluation: %d\n", staticEvaluation(currentGamePosition()));
}

void resultCommand(const std::string& line) {
    // "result *": the game was aborted, with no winner and no draw.
    char word[16] = "";
    bool aborted = std::sscanf(line.c_str() + line.find("result"), "result %15s", word) == 1 &&
                   std::strcmp(word, "*") == 0;
    int result = line.find("1-0") != std::string::npos   ? GameWhiteWon
                 : line.find("0-1") != std::string::npos ? GameBlackWon
                 : aborted                               ? GameRunning
                                                         : GameDrawn;
    stopSearch();
    if (!aborted) searchInfo.gameResult.store(result);
    if (currentGamePosition().ply > 2 && readBool(ActiveSettings, "LogGames"))
        logProtocolGame(result);
    int human = searchInfo.humanSide.load();
    if ((result == GameWhiteWon && human == HumanWhite) ||
        (result == GameBlackWon && human == HumanBlack) ||
        (result == GameDrawn && human == HumanBlack))
        learnFromLostGame(result);
}

void drawCommand(const std::string&) {
    if (drawAndResign.drawAcceptable.load() == 1 && readBool(ActiveSettings, "DrawOffers"))
        writeOutput("offer draw\n");
}

void analyzeCommand(const std::string&) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    searchInfo.analyzeMode.store(true);
    restartAnalysis();
}

void exitCommand(const std::string&) {
    if (!searchInfo.analyzeMode.load()) return;
    searchInfo.analyzeMode.store(false);
    stopSearch();
}

void sdCommand(const std::string& line) {
    int depth = 0;
    if (std::sscanf(line.c_str() + line.find("sd "), "sd %d", &depth) == 1)
        searchInfo.maxDepth.store(std::clamp(depth, 1, 64));
}

void moveNowCommand(const std::string&) { moveNow(); }

void pingCommand(const std::string& line) {
    // A think is asked to move now and the pong follows its move; pondering and analysis go on.
    if (searchInfo.searchState.load() == SearchState::Thinking) {
        moveNow();
        while (searchInfo.searchState.load() == SearchState::Thinking && !searchController.idle())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    int number = 0;
    size_t at = line.find("ping");
    if (std::sscanf(line.c_str() + at, "ping %d", &number) == 1) writeOutput("pong %d\n", number);
}

// Applied in this order; one line may trigger several.
const Command winboardCommands[] = {
    {"name", MatchBegins, nameCommand},       {"protover", MatchContains, protoverCommand},
    {"time", MatchBegins, timeCommand},       {"otim", MatchContains, otimCommand},
    {"force", MatchContains, forceCommand},   {"", MatchBegins, moveCommand},
    {"go", MatchBegins, goCommand},           {"setboard", MatchContains, setboardCommand},
    {"level", MatchContains, levelCommand},   {"st ", MatchBegins, stCommand},
    {"post", MatchContains, postCommand},     {"nopost", MatchContains, nopostCommand},
    {"hard", MatchContains, hardCommand},     {"easy", MatchContains, easyCommand},
    {"new", MatchContains, newCommand},       {"quit", MatchContains, quitCommand},
    {"undo", MatchContains, undoCommand},     {"evaluate", MatchContains, evaluateCommand},
    {"remove", MatchContains, removeCommand}, {"result", MatchContains, resultCommand},
    {"draw", MatchContains, drawCommand},     {"analyze", MatchContains, analyzeCommand},
    {"exit", MatchBegins, exitCommand},       {"sd ", MatchContains, sdCommand},
    {"?", MatchWhole, moveNowCommand},        {"ping", MatchContains, pingCommand},
};

} // namespace

bool parseLevel(const std::string& line, int& moves, double& baseMinutes, double& increment) {
    char base[32] = "";
    double inc = 0;
    int count = 0;
    if (std::sscanf(line.c_str(), "level %d %31s %lf", &count, base, &inc) != 3) return false;
    double minutes = 0, seconds = 0;
    if (std::strchr(base, ':')) {
        if (std::sscanf(base, "%lf:%lf", &minutes, &seconds) != 2) return false;
    } else if (std::sscanf(base, "%lf", &minutes) != 1) {
        return false;
    }
    if (!std::isfinite(minutes) || !std::isfinite(seconds) || !std::isfinite(inc)) return false;
    moves = std::max(0, count);
    baseMinutes = saneSeconds((minutes * 60 + seconds)) / 60;
    increment = saneSeconds(inc);
    return true;
}

void winboardAllocateTime() {
    if (winboardState.fixedMoveSeconds > 0) {
        TimeBudget budget;
        budget.targetTime = winboardState.fixedMoveSeconds * 0.95;
        storeTimeBudget(budget);
        return;
    }
    allocateTime(winboardState.lastTimeCommand * 0.01, searchInfo.movesPerControl.load(),
                 searchInfo.incrementSeconds.load());
}

void protocolGameResets() {
    searchInfo.targetTime.store(2.6);
    searchInfo.extraTime.store(2.0);
    searchInfo.gameResult.store(GameRunning);
    searchInfo.maxDepth.store(64);
    searchInfo.protocolMode.store(true);
    searchInfo.humanSide.store(HumanWhite);
    searchInfo.analyzeMode.store(false);
    drawAndResign.drawAcceptable.store(0);
}

bool winboardFirstLine(const std::string& line) {
    if (line.compare(0, 3, "uci") == 0) {
        if (line.compare(0, 6, "ucinew") != 0) uciStartup();
        return false;
    }
    if (line.find("protover") == std::string::npos) return false;
    writeFeatures();
    return true;
}

void winboardCommand(const std::string& fullLine) {
    debugLog("Received : %s\n", fullLine.c_str());
    if (fullLine.compare(0, 3, "uci") == 0) {
        if (fullLine.compare(0, 6, "ucinew") != 0) uciStartup();
        return;
    }
    // The front end's replies to features; any other line may merely contain these words.
    char firstWord[16] = "";
    std::sscanf(fullLine.c_str(), "%15s", firstWord);
    if (std::strcmp(firstWord, "accepted") == 0 || std::strcmp(firstWord, "rejected") == 0) return;
    // The comment of a result line is the front end's text, not commands.
    std::string line = fullLine;
    if (line.find("result") != std::string::npos) line = line.substr(0, line.find('{'));
    stopLine = false;
    for (const Command& command : winboardCommands) {
        if (commandMatches(command, line)) command.run(line);
        if (stopLine) break;
    }
}

} // namespace corvid
