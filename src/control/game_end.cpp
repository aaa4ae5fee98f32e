#include "control/game_end.h"

#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "control/game.h"
#include "control/settings.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"
#include "search/search_report.h"

#include <cstdlib>

namespace corvid {

DrawAndResignState drawAndResign;

int earlierOccurrences(const Position& p, const uint64_t* keys) {
    int start = p.lastIrreversiblePly;
    if ((start ^ p.ply) & 1) ++start;
    int count = 0;
    // The current ply itself is not an earlier occurrence.
    for (int q = start; q < p.ply && q < MaxGamePlies; q += 2)
        if (keys[q] == p.key) ++count;
    return count;
}

bool fiftyMoveRuleReached(const Position& p) { return p.ply - p.lastIrreversiblePly > 100; }

GameEnd gameEndKind(const Position& p, const uint64_t* keys) {
    MoveList legal;
    GenerateLegalMoves(p, legal);
    if (legal.count == 0 && p.checkers) return GameEnd::Checkmate;
    GameEnd end = legal.count == 0 ? GameEnd::Stalemate : GameEnd::None;
    if (earlierOccurrences(p, keys) >= 2) end = GameEnd::Repetition;
    if (fiftyMoveRuleReached(p)) end = GameEnd::FiftyMoves;
    bool noPawns = p.pieceBB[Pawn] == 0;
    if (noPawns && p.material[White] < PieceValue[Rook] && p.material[Black] < PieceValue[Rook] &&
        p.pieceCount[White] + p.pieceCount[Black] <= 1)
        end = GameEnd::InsufficientMaterial;
    return end;
}

int gameResultCode(const Position& p, GameEnd end) {
    if (end == GameEnd::None) return GameRunning;
    if (end == GameEnd::Checkmate) return p.sideToMove == White ? GameBlackWon : GameWhiteWon;
    return GameDrawn;
}

const char* gameEndReason(GameEnd end) {
    switch (end) {
    case GameEnd::Checkmate:
        return "Check Mate!";
    case GameEnd::Stalemate:
        return "Draw by Stalemate";
    case GameEnd::Repetition:
        return "Draw by Repetition";
    case GameEnd::FiftyMoves:
        return "Draw by 50-move rule";
    case GameEnd::InsufficientMaterial:
        return "Draw by insuffucient material to mate ";
    case GameEnd::None:
        break;
    }
    return "";
}

bool gameEndTest(bool announce, bool& gameOverNow) {
    const Position& p = currentGamePosition();
    GameEnd end = gameEndKind(p, gameKeyHistory());
    gameOverNow = end == GameEnd::Stalemate;
    int result = gameResultCode(p, end);
    searchInfo.gameResult.store(result);
    if (announce && result != GameRunning) reporter().messageBox(" Game Over ", gameEndReason(end));
    return result != GameRunning;
}

void claimProtocolResult() {
    const Position& p = currentGamePosition();
    GameEnd end = gameEndKind(p, gameKeyHistory());
    if (end == GameEnd::Checkmate) {
        if (p.sideToMove == Black)
            reporter().resultClaim("1-0", "White Mates");
        else
            reporter().resultClaim("0-1", "Black Mates");
    } else if (fiftyMoveRuleReached(p)) {
        reporter().resultClaim("1/2-1/2", "Draw by 50 Move Rule");
    } else if (earlierOccurrences(p, gameKeyHistory()) >= 2) {
        reporter().resultClaim("1/2-1/2", "Draw by Repetition");
    } else if (end == GameEnd::Stalemate || end == GameEnd::InsufficientMaterial) {
        // Front ends that do not adjudicate wait for the claim: without it the game hangs.
        reporter().resultClaim("1/2-1/2", gameEndReason(end));
    }
}

bool resignAndDrawRules(int score, int side) {
    const Position& p = currentGamePosition();
    int opponent = side ^ 1;
    DrawAndResignState& s = drawAndResign;
    if (score < -680) {
        s.resignCount[side] += 1;
        bool opponentCanMate =
            p.pieceCount[opponent] > p.minorCount[opponent] || p.pawnCount[opponent] > 1;
        bool opponentHasMore =
            p.pieceCount[opponent] > p.pieceCount[side] || p.pawnCount[opponent] >= 1;
        if (s.resignCount[side] >= 4 && readBool(ActiveSettings, "Resign") &&
            p.material[opponent] - p.material[side] > PieceValue[Bishop] && opponentCanMate &&
            opponentHasMore) {
            if (inProtocolMode()) {
                reporter().resign();
            } else {
                reporter().statusText("Corvid Resigns.");
                searchInfo.gameResult.store(side == Black ? GameWhiteWon : GameBlackWon);
            }
            s.resignCount[side] = -2;
            return true;
        }
    } else {
        s.resignCount[side] = 0;
    }

    bool bothLight = p.material[White] <= 1400 && p.material[Black] <= 1400;
    bool drawish =
        (score == 0 && p.ply > 40) || (std::abs(score) <= 5 && (p.ply > 84 || bothLight));
    if (drawish) {
        s.drawCount += 1;
        if (s.drawCount > 4 && readBool(ActiveSettings, "DrawOffers")) {
            s.drawCount = -3;
            s.drawAcceptable.store(1);
            if (inProtocolMode()) {
                reporter().drawOffer();
            } else if (searchInfo.humanSide.load() == EnginePlaysBoth) {
                searchInfo.gameResult.store(GameDrawn);
                reporter().statusText("Draw Agreed");
            } else {
                reporter().statusText("Corvid offers a Draw.");
            }
            return false;
        }
    } else {
        s.drawCount = 0;
    }

    s.drawAcceptable.store(0);
    if (score > 0) {
        s.acceptCount = 0;
    } else if (readBool(ActiveSettings, "DrawOffers")) {
        s.acceptCount += 1;
        bool late = p.ply > 84 || (p.material[White] <= 1100 && p.material[Black] <= 1100);
        if (s.acceptCount > 5 && late && p.pieceCount[White] <= 2 && p.pieceCount[Black] <= 2)
            s.drawAcceptable.store(1);
    } else {
        s.acceptCount = 0;
    }
    return false;
}

void sendBestMove(const Position& position, Move move, const SearchContext& context) {
    if (!IsPlayable(position, move)) {
        reporter().bestMove(position, NoMove, NoMove);
        return;
    }
    Position after = position;
    MakeMoveWithCheck(after, move);
    reporter().bestMove(position, move, expectedReply(after, move, context));
}

void playEngineMove(Move move, const SearchContext& context, bool& gameOverNow) {
    Position before = currentGamePosition();
    if (inUciMode()) {
        sendBestMove(before, move, context);
        return;
    }
    bool resigned = false;
    if (move != NoMove) {
        playGameMove(move);
        if (searchInfo.gameResult.load() == GameRunning)
            resigned = resignAndDrawRules(context.rootLines[0].score, context.rootSide);
    }
    if (inProtocolMode()) {
        if (move != NoMove && !resigned) {
            reporter().engineMove(before, move);
            claimProtocolResult();
        }
        return;
    }
    reporter().boardChanged();
    reporter().moveListChanged();
    gameEndTest(true, gameOverNow);
}

} // namespace corvid
