#include "eval/pawn_race.h"

#include "chess/bitboard.h"
#include "eval/bitbase_probe.h"
#include "eval/eval_helpers.h"

#include <algorithm>
#include <cstdlib>

namespace corvid {

namespace {

constexpr int NotRacing = 20;

struct SideRace {
    int best = NotRacing; // moves until a pawn is known to promote
    int free = NotRacing; // moves until a pawn the other king is far from promotes
};

SideRace raceOf(const Position& p, const PawnCacheEntry& entry, int x) {
    SideRace race;
    int other = x ^ 1;
    int king = p.kingSquare[x], otherKing = p.kingSquare[other];
    int leftFile = 8, rightFile = -1, leftR = 0, rightR = 0;
    for (Bitboard b = entry.passed[x]; b;) {
        int s = PopLowest(b);
        int r = std::min(RowsToGo(x, s), 5);
        bool ahead = FileOf(king) == FileOf(s) && RowsToGo(x, king) < RowsToGo(x, s);
        int tracked = r + (ahead ? 1 : 0);
        if (FileOf(s) < leftFile) leftFile = FileOf(s), leftR = tracked;
        if (FileOf(s) > rightFile) rightFile = FileOf(s), rightR = tracked;

        int bits = probePawnRace(p, x, s);
        if (bits >= 0 && (bits & 1)) {
            race.best = std::min(race.best, r + ((bits & 2) ? 0 : 1));
            continue;
        }
        int behind = x == White ? RowOf(otherKing) - RowOf(s) : RowOf(s) - RowOf(otherKing);
        int distance = std::max(std::abs(FileOf(otherKing) - FileOf(s)), behind);
        if (distance > 1) race.free = std::min(race.free, r + (ahead ? 1 : 0));
    }
    // Two passed pawns far apart: the king cannot stop both.
    if (rightFile > leftFile) {
        int t = std::max(leftR, rightR);
        int toMove = p.sideToMove == x ? 1 : 0;
        if (t < toMove + rightFile - leftFile && t < race.best) race.best = t;
    }
    int tempo = p.sideToMove == x ? 0 : 1;
    race.best = 2 * race.best + tempo;
    race.free = 2 * race.free + tempo;
    return race;
}

} // namespace

RaceResult pawnRace(const Position& p, const PawnCacheEntry& entry) {
    SideRace white = raceOf(p, entry, White), black = raceOf(p, entry, Black);
    RaceResult result = RaceResult::Unclear;
    if (white.best < black.best - 1 && white.best < black.free - 1) result = RaceResult::WhiteWins;
    if (black.best < white.best - 1 && black.best < white.free - 1) result = RaceResult::BlackWins;
    if (result == RaceResult::WhiteWins && p.pieceCount[Black] > 0) result = RaceResult::Unclear;
    if (result == RaceResult::BlackWins && p.pieceCount[White] > 0) result = RaceResult::Unclear;
    return result;
}

int rookPawnCorner(const Position& p, int side, bool* lightCorner) {
    Bitboard pawns = p.Pieces(side, Pawn);
    int file;
    if (pawns && !(pawns & ~FileMask[0]))
        file = 0;
    else if (pawns && !(pawns & ~FileMask[7]))
        file = 7;
    else
        return 0;
    int corner = MakeSquare(file, side == White ? 0 : 7);
    if (lightCorner) *lightCorner = (LightSquares & SquareBB(corner)) != 0;
    int defender = Distance(p.kingSquare[side ^ 1], corner);
    if (defender <= 1) return 2;
    return defender <= Distance(p.kingSquare[side], corner) ? 1 : 0;
}

} // namespace corvid
