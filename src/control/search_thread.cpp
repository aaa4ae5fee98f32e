#include "control/search_thread.h"

#include "book/book_moves.h"
#include "chess/make_move.h"
#include "chess/move_notation.h"
#include "control/game.h"
#include "control/game_end.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "control/time_control.h"
#include "platform/engine_reporter.h"
#include "search/root_search.h"
#include "search/search_info.h"
#include "search/search_report.h"

#include <cstring>
#include <memory>

namespace corvid {

namespace {

// Search thread only, except that the command side reads the pondered position while
// ponderState is Pondering (written before that state is published).
Position ponderedPosition;
uint64_t ponderedKeys[MaxGamePlies + 1];

Move probeBook(const Position& p, const uint64_t* keys) {
    return ChooseBookMove(currentBook(), p, keys);
}

bool bookMayAnswer(const Position& p) {
    return p.ply < 70 && readBool(ActiveSettings, "BookEnabled");
}

// The root search on the game position; no move when the front end's position was rejected.
Move searchGame(SearchContext& context, int maxDepth) {
    setUpSearchContext(context, currentGamePosition(), gameKeyHistory());
    if (searchInfo.positionRejected.load()) return NoMove;
    return rootSearch(context, maxDepth);
}

void runAnalysis(SearchContext& context) {
    searchInfo.searchState.store(SearchState::Analyzing);
    Move best = searchGame(context, 60);
    if (inUciMode()) {
        // go infinite holds its best move until the front end says stop.
        searchController.waitForStop();
        sendBestMove(currentGamePosition(), best, context);
    }
}

void runUciPonder(SearchContext& context) {
    searchInfo.searchState.store(SearchState::Pondering);
    Move best = searchGame(context, searchInfo.maxDepth.load());
    searchController.waitForPonderEnd();
    sendBestMove(currentGamePosition(), best, context);
}

// Thinks and plays moves while it is the engine's turn. Returns false when the think was
// aborted.
bool runThink(SearchContext& context, bool& gameOverNow) {
    searchInfo.searchState.store(SearchState::Thinking);
    auto playing = [&] {
        int result = searchInfo.gameResult.load();
        return inUciMode() || result == GameRunning || (result == GameDrawn && !gameOverNow);
    };
    bool keepPlaying = playing();
    bool first = true;
    while (keepPlaying) {
        int human = searchInfo.humanSide.load();
        int side = currentGamePosition().sideToMove;
        if (human == EnginePlaysNeither || (human != EnginePlaysBoth && side == human)) break;
        guiTimeBudget(side);
        if (!first) {
            StopRequest moveNowRequest = StopRequest::MoveNow;
            searchInfo.stopRequest.compare_exchange_strong(moveNowRequest, StopRequest::None);
        }
        first = false;
        setUpSearchContext(context, currentGamePosition(), gameKeyHistory());
        Move move = NoMove;
        if (!searchInfo.positionRejected.load()) {
            if (bookMayAnswer(currentGamePosition()))
                move = probeBook(currentGamePosition(), gameKeyHistory());
            if (move == NoMove) {
                if (!inProtocolMode()) reporter().statusText("Thinking....");
                move = rootSearch(context, searchInfo.maxDepth.load());
            }
        }
        // A UCI "go" always ends with its best move, whatever stopped the search.
        if (searchInfo.stopRequest.load() == StopRequest::Abort && !inUciMode()) {
            reporter().boardChanged();
            return false;
        }
        playEngineMove(move, context, gameOverNow);
        keepPlaying = playing();
        if (inUciMode()) searchInfo.humanSide.store(EnginePlaysNeither);
    }
    return true;
}

// Ponders on the expected reply after the engine's move. Returns true when a follow-up think
// is needed (the reply was played: ponder hit or miss).
bool ponderOnReply(SearchContext& context) {
    // The game position already holds the engine's move.
    Position p = currentGamePosition();
    Move reply = expectedReply(p, context.rootLines[0].move, context);
    searchInfo.ponderMove.store(reply);
    if (reply == NoMove) {
        if (!inProtocolMode()) reporter().statusText("No valid move to ponder.");
        return false;
    }
    char text[MoveTextBufferSize];
    FormatMove(text, reply, p, SanForm); // SAN ends with its blank: "{ e5 } " in the output
    reporter().ponderMove(text);
    const uint64_t* gameKeys = gameKeyHistory();
    int plies = p.ply < MaxGamePlies ? p.ply : MaxGamePlies;
    std::memcpy(ponderedKeys, gameKeys, sizeof(uint64_t) * size_t(plies));
    ponderedKeys[plies] = p.key;
    MakeMoveWithCheck(p, reply);
    if (bookMayAnswer(p) && HasBookMove(currentBook(), p, ponderedKeys)) return false;
    guiTimeBudget(p.sideToMove);
    ponderedPosition = p;
    searchInfo.searchState.store(SearchState::Pondering);
    // Publishes the pondered position; a stop that came meanwhile cancels the ponder.
    if (searchInfo.stopRequest.load() != StopRequest::None ||
        !searchController.swapPonderState(PonderState::None, PonderState::Pondering))
        return false;
    if (!inProtocolMode()) reporter().statusText("Pondering...");
    setUpSearchContext(context, p, ponderedKeys);
    Move best = rootSearch(context, searchInfo.maxDepth.load());
    // Whoever changes ponderState first decides: the command side (hit or miss) or this thread
    // (the ponder ended by itself or was stopped, and its result is dropped).
    if (searchController.swapPonderState(PonderState::Pondering, PonderState::None)) return false;
    PonderState outcome = searchInfo.ponderState.load();
    if (searchInfo.stopRequest.load() == StopRequest::Abort) return false;
    if (outcome == PonderState::PonderHit) {
        bool gameOverNow = false;
        searchInfo.searchState.store(SearchState::Thinking);
        playEngineMove(best, context, gameOverNow);
    }
    return true;
}

} // namespace

bool isPonderedPosition(const Position& p) {
    const Position& q = ponderedPosition;
    return p.key == q.key && p.sideToMove == q.sideToMove && p.castleRights == q.castleRights &&
           p.epSquare == q.epSquare && std::memcmp(p.board, q.board, sizeof p.board) == 0;
}

void searchThreadLoop() {
    // Per process: the search context, reused by every request.
    std::unique_ptr<SearchContext> context = std::make_unique<SearchContext>();
    for (;;) {
        SearchRequest request = searchController.take();
        if (searchController.quitRequested()) return;
        bool gameOverNow = false;
        gameEndTest(false, gameOverNow);
        bool followUp = false;
        switch (request) {
        case SearchRequest::Analyze:
            runAnalysis(*context);
            break;
        case SearchRequest::Ponder:
            runUciPonder(*context);
            break;
        case SearchRequest::Think:
            if (searchInfo.ponderState.load() != PonderState::None) break;
            if (runThink(*context, gameOverNow) && !inUciMode() &&
                searchInfo.ponderEnabled.load()) {
                int human = searchInfo.humanSide.load();
                StopRequest moveNowRequest = StopRequest::MoveNow;
                searchInfo.stopRequest.compare_exchange_strong(moveNowRequest, StopRequest::None);
                searchInfo.searchState.store(SearchState::Idle);
                if ((human == HumanWhite || human == HumanBlack) &&
                    searchInfo.gameResult.load() == GameRunning &&
                    currentGamePosition().sideToMove == human)
                    followUp = ponderOnReply(*context);
            }
            break;
        }
        searchInfo.ponderState.store(PonderState::None);
        searchInfo.searchState.store(SearchState::Idle);
        searchController.finish(followUp);
    }
}

} // namespace corvid
