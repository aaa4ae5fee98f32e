#include "support/protocol_session.h"

#include "chess/coordinate_notation.h"
#include "chess/fen.h"
#include "chess/make_move.h"
#include "support/test_support.h"

#include <sstream>

namespace corvid::test {

namespace {
std::vector<std::pair<std::string, std::string>> BookSetting(bool book) {
    if (book) return {};
    return {{"engineWB.dft", "BookEnabled=0\n"}};
}
} // namespace

std::unique_ptr<EngineProcess> StartUci(std::vector<std::string>* reply, bool book) {
    auto engine = std::make_unique<EngineProcess>(BuiltProgram("corvid"), BookSetting(book));
    engine->send("uci");
    engine->waitFor("uciok", ReplyWaitMs, reply);
    if (int threads = TestSearchThreads(); threads > 1)
        engine->send("setoption name Threads value " + std::to_string(threads));
    return engine;
}

std::unique_ptr<EngineProcess> StartWinBoard(std::vector<std::string>* reply, bool book) {
    auto engine = std::make_unique<EngineProcess>(BuiltProgram("corvid"), BookSetting(book));
    engine->send("xboard");
    engine->send("protover 2");
    engine->waitFor("feature done=1", ReplyWaitMs, reply);
    if (int threads = TestSearchThreads(); threads > 1)
        engine->send("cores " + std::to_string(threads));
    return engine;
}

Move LegalMoveFromText(const Position& position, const std::string& text) {
    return LegalMoveNamed(position, text);
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

std::string MoveWord(const std::string& line) {
    std::vector<std::string> words = Words(line);
    return words.size() > 1 ? words[1] : "";
}

PlayedGame::PlayedGame(const char* fen)
    : position(std::make_unique<Position>()), castleInfo(std::make_unique<CastleInfo>()) {
    EnsureTables();
    SetPositionFromFen(*position, fen, castleInfo.get());
}

bool PlayedGame::Play(const std::string& text) {
    Move move = LegalMoveFromText(*position, text);
    if (move == NoMove) return false;
    MakeMoveWithCheck(*position, move);
    return true;
}

} // namespace corvid::test
