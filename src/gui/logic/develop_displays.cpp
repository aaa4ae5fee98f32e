#include "gui/logic/develop_displays.h"

#include "chess/attacks.h"
#include "chess/move_gen.h"
#include "control/game.h"
#include "control/search_controller.h"
#include "eval/eval_breakdown.h"
#include "eval/search_personality.h"
#include "gui/logic/command_ids.h"
#include "search/check_moves.h"
#include "search/draw_detection.h"
#include "search/mate_detection.h"
#include "search/search.h"
#include "search/search_info.h"
#include "search/search_text.h"
#include "search/threat.h"
#include "search/transposition_table.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <memory>

namespace corvid {

namespace {

// The frames around a king: attacked and undefended, attacked and defended, only defended,
// neither.
constexpr uint32_t KingZoneColours[4] = {0xFF2020, 0xFFA000, 0x20C020, 0x6080FF};

std::string format(const char* pattern, auto... values) {
    char text[256];
    int n = std::snprintf(text, sizeof text, pattern, values...);
    return std::string(text, size_t(std::clamp(n, 0, int(sizeof text) - 1)));
}

void markMove(BoardMarks& marks, Move move, uint32_t colour) {
    marks.push_back({MoveFrom(move), colour});
    marks.push_back({MoveTo(move), colour});
}

// A search context for one display: the position with the game's keys below it.
std::unique_ptr<SearchContext> contextFor(const Position& p, const uint64_t* keys) {
    auto context = std::make_unique<SearchContext>();
    setUpSearchContext(*context, p, keys);
    return context;
}

// The shown game position, once the search has let go of it.
Position stoppedGamePosition() {
    if (!searchController.idle()) stopSearch();
    return currentGamePosition();
}

// A king's safety and its surroundings framed by attack and defence.
DevelopDisplay kingDisplay(const Position& p, int side) {
    const KingDetails k = kingDetails(p, side);
    const KingSafetyBreakdown& s = k.parts;
    const int king = p.kingSquare[side];
    const int sq = pieceShare(p, king, EvalDetail{}).sq;
    DevelopDisplay display;
    std::string& text = display.text;
    text = format("%s %d\nSq %d\nSafety: %d (%d)\n", side == White ? "White King" : "Black King",
                  k.safety, sq, s.activityOnly ? s.activity : s.value, s.attackerMaterial);
    text +=
        format(" mult x%d\n Pawn %d Def %d Mob %d\n", s.mult, s.shelter, s.defence, k.mobilityDiff);
    text += format(" AttackEvalScore %d\n Attack %d\n   pieces %.2f\n   coverage %.1f\n"
                   "   checks %d\n",
                   s.attack, s.attackSum, s.attackers / 4.0, s.zoneHits / 2.0, s.checks);
    for (Bitboard around = KingAttacks[king]; around; around &= around - 1) {
        const int square = LowestSquare(around);
        const bool attacked = k.attacked & SquareBB(square);
        const bool defended = k.defended & SquareBB(square);
        const int kind = attacked ? (defended ? 1 : 0) : (defended ? 2 : 3);
        display.marks.push_back({square, KingZoneColours[kind]});
    }
    display.marks.push_back({king, PieceFrameColour});
    return display;
}

void show(const DevelopDisplay& display, const DisplaySink& sink) {
    if (sink.showMarks) sink.showMarks(display.marks);
    if (!display.text.empty() && sink.showText) sink.showText(display.text);
}

} // namespace

DevelopDisplay moveInfoDisplay(const Position& p, const uint64_t* keys) {
    DevelopDisplay display;
    MoveList legal;
    GenerateLegalMoves(p, legal);
    const bool inCheck = p.checkers != 0;
    const CheckSquares checkSquares = PrepareCheckSquares(p);
    int captures = 0, quietChecks = 0, mates = 0;
    int byClass[7] = {}; // threat class + 1
    BoardMarks byStrength[3];
    for (int i = 0; i < legal.count; ++i) {
        const Move m = legal.moves[i];
        if (p.board[MoveTo(m)] != Empty && !IsCastling(p, m)) ++captures;
        if (isMateMove(p, m, GivesCheck(p, m, checkSquares))) mates = 1;
        const int threat = std::clamp(threatClassOf(p, m), ThreatHangs, ThreatPromotion);
        ++byClass[threat + 1];
        if (threat >= ThreatMinor && threat <= ThreatMate) {
            const int strength = std::min(threat, int(ThreatDouble)) - ThreatMinor;
            const uint32_t colours[3] = {InterestingMoveColour, ThreatMoveColour,
                                         StrongThreatColour};
            markMove(byStrength[strength], m, colours[strength]);
        }
    }
    if (!inCheck) {
        MoveList checks;
        GenerateChecks(p, ~p.occupied, checkSquares, checks);
        for (int i = 0; i < checks.count; ++i)
            if (IsLegal(p, checks.moves[i])) ++quietChecks;
    }
    // The stronger threats are drawn over the weaker ones, the mate over all.
    for (const BoardMarks& marks : byStrength)
        display.marks.insert(display.marks.end(), marks.begin(), marks.end());
    Move mate = NoMove;
    if (!inCheck && findMateThreat(p, p.sideToMove, mate) > 0 && mate != NoMove)
        markMove(display.marks, mate, MateMoveColour);

    auto at = [&](int threat) { return byClass[threat + 1]; };
    std::string& text = display.text;
    if (inCheck) text += legal.count == 0 ? "Mate!\n" : "Check\n";
    text += format("%d Moves\n", legal.count);
    text += format("  %d captures\n", captures);
    text += format("  %d checks\n", quietChecks);
    text += format("    (%d mates)\n", mates);
    text += format("\n  %d threats\n", at(2) + at(3) + at(4) + at(5));
    text += format("    (%d, %d, %d, %d)\n", at(5), at(4), at(3), at(2));
    text += format("  %d interesting\n", at(1));
    text += format("  %d normal\n", at(0));
    text += format("  %d unsafe\n", at(-1));
    const int repetitions = repetitionCount(*contextFor(p, keys), p);
    if (repetitions > 0) text += format("%d rep\n", repetitions);
    return display;
}

QSearchResult qsearchDisplay(const Position& p, const uint64_t* keys, bool whitePov) {
    std::unique_ptr<SearchContext> context = contextFor(p, keys);
    SearchContext& c = *context;
    c.switches = activePersonality.switches;
    c.searchAge = transpositionTable.searchAge;
    c.rootPly = p.ply;
    c.position = p;
    resetPlyRecords(c, 0);
    QSearchResult result;
    constexpr int Window = 10000;
    result.score = quiesce(c, -Window, Window, 0, PvNode);
    result.nodes = c.nodes;
    const PlyRecord& root = c.stack[0];
    result.line = formatLine(root.pv, std::clamp(root.pvLength, 0, MaxPv), p, LineExact, "", false);
    result.text =
        format("QSearch \n  Eval : %s\n  Nodes : %" PRIu64 "\n  ",
               formatScore(result.score, p.sideToMove, true, whitePov).c_str(), result.nodes) +
        result.line + "\n";
    return result;
}

std::string evalDisplayText(const Position& p, bool whitePov) {
    EvalDetail detail;
    const EvalBreakdown b = evalBreakdown(p, detail);
    std::string text = "Eval : " + formatScore(b.score, p.sideToMove, true, whitePov) + " \n";
    text += format("  Material : %d (%d) \n", b.material, b.rawMaterial);
    text += format("  Mobility : %d  %d\n", b.mobility[White], b.mobility[Black]);
    text += format("  SqTable : %d \n", b.squareTable);
    text += format("  Pawns : %d  %d\n", b.pawns[White], b.pawns[Black]);
    text += format("   structure : %d  %d\n", b.structure[White], b.structure[Black]);
    text += format("   passed : %d  %d\n", b.passed[White], b.passed[Black]);
    text += format("  Tactical : %d  %d\n", b.tactical[White], b.tactical[Black]);
    text += format("  King : %d  %d\n", b.king[White], b.king[Black]);
    return text;
}

DevelopDisplay squareDisplay(const Position& p, int square) {
    DevelopDisplay display;
    if (square < 0 || square > 63 || p.board[square] == Empty) return display;
    const PieceCode piece = p.board[square];
    if (TypeOf(piece) == King) return kingDisplay(p, ColourOf(piece));
    EvalDetail detail;
    evalBreakdown(p, detail);
    const PieceShare s = pieceShare(p, square, detail);
    static const char* const Names[5] = {"Pawn", "Knight", "Bishop", "Rook", "Queen"};
    display.text = format("%s = %d\n  pos = %d\n  sq = %d\n  mat = %d\n", Names[s.type],
                          s.pos + s.sq + s.mat, s.pos, s.sq, s.mat);
    display.marks.push_back({square, s.pinned ? PinnedPieceColour : PieceFrameColour});
    return display;
}

void showSquareDetails(int square, const DisplaySink& sink) {
    show(squareDisplay(stoppedGamePosition(), square), sink);
}

void registerDevelopDisplays(CommandDispatcher& d, const DisplaySink& sink) {
    d.on(cmd::DisplayMoveInfo,
         [sink](int) { show(moveInfoDisplay(stoppedGamePosition(), gameKeyHistory()), sink); });
    d.on(cmd::DisplayQSearch, [sink](int) {
        const Position p = stoppedGamePosition();
        const bool whitePov = searchInfo.evalsFromWhitePov.load();
        if (sink.showText) sink.showText(qsearchDisplay(p, gameKeyHistory(), whitePov).text);
    });
    d.on(cmd::DisplayEval, [sink](int) {
        const Position p = stoppedGamePosition();
        if (sink.showText) sink.showText(evalDisplayText(p, searchInfo.evalsFromWhitePov.load()));
    });
    d.on(cmd::DisplayTtEntry, [sink](int) {
        const Position p = stoppedGamePosition();
        if (sink.showText) sink.showText(ttEntryText(p));
    });
    d.on(cmd::BlackKingDetails, [sink](int) {
        const Position p = stoppedGamePosition();
        show(squareDisplay(p, p.kingSquare[Black]), sink);
    });
    d.on(cmd::WhiteKingDetails, [sink](int) {
        const Position p = stoppedGamePosition();
        show(squareDisplay(p, p.kingSquare[White]), sink);
    });
}

} // namespace corvid
