#include "eval/pawn_ending_eval.h"

#include "chess/bitboard.h"
#include "chess/piece_square_table.h"
#include "eval/bitbase.h"
#include "eval/bitbase_probe.h"
#include "eval/endgame_tables.h"
#include "eval/eval_helpers.h"
#include "eval/pawn_race.h"
#include "eval/pawn_structure.h"

namespace corvid {

namespace {

constexpr int BitbaseWin = 700;
constexpr int RaceWin = 360;

int kingTable(int square) { return pieceSquareTable[MakePiece(White, King)][square].eg; }

// A king's distance in files from the span of all pawns (0 inside it).
int spanDistance(const PawnCacheEntry& e, int king) {
    int low = std::min(e.lowFile[White], e.lowFile[Black]);
    int high = std::max(e.highFile[White], e.highFile[Black]);
    int f = FileOf(king);
    return f < low ? low - f : f > high ? f - high : 0;
}

// The four bitbases of pawn endings, White's view; false when none applies.
bool probePawnEnding(const Position& p, int base, int& score) {
    int w = p.pawnCount[White], b = p.pawnCount[Black];
    auto decisive = [&](int strong, int drawBit) {
        score = drawBit ? 0 : base + (strong == White ? BitbaseWin : -BitbaseWin);
        return true;
    };
    if (bitbases.kpk.loaded() && w + b == 1)
        return decisive(w ? White : Black, probeKpk(p, w ? White : Black));
    if (bitbases.kpkp.loaded() && w == 1 && b == 1) {
        if (probeKpkp(p, White) == 1)
            score = base + BitbaseWin;
        else if (probeKpkp(p, Black) == 1)
            score = base - BitbaseWin;
        else
            score = 0;
        return true;
    }
    if (bitbases.kppk.loaded() && ((w == 2 && b == 0) || (w == 0 && b == 2))) {
        int strong = w ? White : Black;
        return decisive(strong, probeKppk(p, strong));
    }
    if (bitbases.kppkp.loaded() && ((w == 2 && b == 1) || (w == 1 && b == 2))) {
        int strong = w == 2 ? White : Black;
        int bit = probeKppkp(p, strong);
        if (bit < 0) return false; // the lone pawn is not blocked
        return decisive(strong, bit);
    }
    return false;
}

} // namespace

int32_t pawnEndingEval(const Position& p, int side) {
    PawnCacheEntry* entry = nullptr;
    int32_t totals[2];
    int structure = pawnStructureTerm(White, p, entry, totals, 0);
    int base = (3 * structure) / 4 + p.material[White] - p.material[Black];

    int score;
    if (probePawnEnding(p, base, score)) {
        // Known results still prefer advanced kings near the pawns, so the search makes progress.
        if (score > 0) {
            int d = spanDistance(*entry, p.kingSquare[White]);
            score += 2 * (2 * (7 - RowOf(p.kingSquare[White])) - d);
        } else if (score < 0) {
            int d = spanDistance(*entry, p.kingSquare[Black]);
            score += 2 * d - 4 * RowOf(p.kingSquare[Black]);
        }
        return side == White ? score : -score;
    }

    score = base + (kingTable(p.kingSquare[White]) - kingTable(p.kingSquare[Black])) / 4;
    if (p.material[Black] == 0) score += 100;
    if (p.material[White] == 0) score -= 100;

    switch (pawnRace(p, *entry)) {
    case RaceResult::WhiteWins:
        score += RaceWin;
        break;
    case RaceResult::BlackWins:
        score -= RaceWin;
        break;
    case RaceResult::Unclear: {
        score += KingSpanDistance[spanDistance(*entry, p.kingSquare[Black])] -
                 KingSpanDistance[spanDistance(*entry, p.kingSquare[White])] +
                 OutsidePassedBonus[entry->outsideDistance[White]] -
                 OutsidePassedBonus[entry->outsideDistance[Black]];
        // A lone rook pawn (or several on one rook file) does not win against a king in the
        // corner.
        int ahead = score >= 1 ? White : Black;
        if (p.pawnCount[ahead] > 0) {
            int corner = rookPawnCorner(p, ahead);
            if (corner == 2)
                score = 0;
            else if (corner == 1)
                score >>= 1;
        }
        break;
    }
    }
    return side == White ? score : -score;
}

} // namespace corvid
