#include "eval/few_pieces_eval.h"

#include "chess/bitboard.h"
#include "eval/attack_info.h"
#include "eval/bitbase.h"
#include "eval/bitbase_probe.h"
#include "eval/endgame_tables.h"
#include "eval/eval_helpers.h"
#include "eval/evaluate.h"
#include "eval/pawn_race.h"
#include "eval/pawn_structure.h"
#include "eval/piece_activity.h"

#include <algorithm>
#include <cstdlib>

namespace corvid {

namespace {

constexpr int BitbaseBonus = 400;
constexpr int PawnPairBonus = 300;
constexpr int RaceWin = 360;

int sign(int colour) { return colour == White ? 1 : -1; }

// Bonus against a bare or nearly bare king, White's view for `x` = White.
int bareKingBonus(const Position& p, int x) {
    int other = x ^ 1;
    int np = NonPawnMaterial(p, x);
    if (p.material[other] == 0) return np < 522 || np == 640 || np == 660 ? 100 : 500;
    if (p.material[other] < 341 && p.pawnCount[other] == 0 && p.pawnCount[x] > 0 && np >= 522)
        return 100;
    return 0;
}

// The outside passed pawn bonus, faded out as the other side's pieces grow.
int outsideBonus(const PawnCacheEntry& e, int x, int enemyNp) {
    int v = OutsidePassedBonus[e.outsideDistance[x]];
    if (enemyNp <= 0) return v;
    if (enemyNp >= 1200) return 0;
    return v - ((enemyNp * 128 / 1200) * v) / 128;
}

// The few-pieces bitbases, White's view; false when none applies.
bool probeFewPieces(const Position& p, int& score) {
    for (int x = White; x <= Black; ++x) {
        int y = x ^ 1;
        int mx = p.material[x], my = p.material[y];
        if (mx == 100 && my == PieceValue[Queen] && p.pawnCount[y] == 0) {
            int bit = probeKpkq(p, x);
            if (bit < 0) return false;
            if (bit) score = (score >> 6) + (score >> 5);
            return true;
        }
        if (mx == 100 && my == PieceValue[Rook] && p.pawnCount[y] == 0) {
            if (!bitbases.kpkr.loaded()) return false;
            // Without an entry (a pawn still on its first ranks) the rook side keeps its bonus.
            score = probeKpkr(p, x) == 1 ? 0 : score - sign(x) * BitbaseBonus;
            return true;
        }
        bool knight = mx == 420 && p.Pieces(x, Knight), bishop = mx == 440 && p.Pieces(x, Bishop);
        if ((knight || bishop) && my == 0) {
            int bit = probeKpxk(p, x);
            if (bit < 0) return false;
            score = bit ? 0 : score + sign(x) * BitbaseBonus;
            return true;
        }
    }
    return false;
}

// Two black pawns side by side on ranks 2 and 3 (or both on rank 2) run home against a lone
// rook or knight when White's king is too far; mirrored for White. White's view.
int unstoppablePair(const Position& p, int x) {
    int defender = x ^ 1;
    int np = NonPawnMaterial(p, defender);
    if (np != PieceValue[Rook] && np != PieceValue[Knight]) return 0;
    const PawnCacheEntry& e = probePawnEntry(p);
    int total = 0;
    int king = p.kingSquare[defender];
    int slack = p.sideToMove == defender ? 1 : 0;
    for (Bitboard b = e.passed[x]; b;) {
        int s = PopLowest(b);
        int r = RowsToGo(x, s);
        if ((r != 1 && r != 2) || FileOf(s) == 0) continue;
        // The neighbour toward the a-file, on the second rank or, when that square is empty,
        // on the third.
        int second = MakeSquare(FileOf(s) - 1, x == White ? 1 : 6);
        int third = MakeSquare(FileOf(s) - 1, x == White ? 2 : 5);
        int partner = -1;
        if (p.board[second] == MakePiece(x, Pawn))
            partner = second;
        else if (p.board[second] == Empty && p.board[third] == MakePiece(x, Pawn))
            partner = third;
        if (partner < 0) continue;
        for (int pawn : {s, partner}) {
            int promotion = MakeSquare(FileOf(pawn), x == White ? 0 : 7);
            if (Distance(king, promotion) - RowsToGo(x, pawn) > slack) {
                total += sign(x) * PawnPairBonus;
                break;
            }
        }
    }
    return total;
}

// Scaling of the side ahead for special material (percent), applied in White's view.
int scaleForMaterial(const Position& p, int score) {
    int a = score > 0 ? White : Black, d = a ^ 1;
    int npA = NonPawnMaterial(p, a), npD = NonPawnMaterial(p, d);
    int pawnsA = p.pawnCount[a], pawnsD = p.pawnCount[d];
    Bitboard bishopA = p.Pieces(a, Bishop), bishopD = p.Pieces(d, Bishop);

    // Bishops of opposite colours, nothing else: the extra pawns rarely win.
    if (npA == PieceValue[Bishop] && npD == PieceValue[Bishop] &&
        !(bishopA & LightSquares) != !(bishopD & LightSquares)) {
        int extra = pawnsA - pawnsD;
        if (extra <= 0) return (score * 12) / 100;
        if (extra == 1) return (score * 40) / 100;
        if (extra == 2) return (score * 70) / 100;
        return score;
    }
    // Pawns only on one rook file with at most a minor piece: the corner holds.
    if (npA <= PieceValue[Bishop]) {
        int corner = rookPawnCorner(p, a);
        if (corner == 2) return (score * 50) / 100;
        if (corner == 1) return (score * 75) / 100;
    }
    // Rook endings.
    if (npA == PieceValue[Rook] && npD == PieceValue[Rook]) {
        const PawnCacheEntry& e = probePawnEntry(p);
        int rookD = LowestSquare(p.Pieces(d, Rook));
        int penalty = 0;
        if (RelativeRow(d, rookD) == 0) penalty += 14; // tied to its back rank
        for (Bitboard b = e.passed[a]; b;) {
            int s = PopLowest(b);
            // A rook blockading in front of the passed pawn is passive; more so the further
            // the pawn has come.
            if (FileOf(rookD) == FileOf(s) && RowsToGo(a, rookD) < RowsToGo(a, s))
                penalty += std::min(40, 20 + 4 * (5 - std::min(RowsToGo(a, s), 5)));
        }
        score += sign(a) * penalty;
        bool lonePasser = pawnsA == 1 && pawnsD == 0 && e.passed[a] &&
                          (p.Pieces(a, Pawn) & (FileMask[0] | FileMask[7]));
        if (lonePasser) score = (score * 88) / 100;
        return score;
    }
    // Minor pieces on both sides.
    if (p.minorCount[a] == 1 && p.minorCount[d] == 1 && p.pieceCount[a] == 1 &&
        p.pieceCount[d] == 1) {
        if (pawnsA <= 1) return (score * 60) / 100;
        if (pawnsA == 2) return (score * 75) / 100;
        if (pawnsA == 3) return (score * 85) / 100;
        return score;
    }
    // One pawn up with the defending king standing in front of it.
    if (pawnsA == 1 && pawnsD == 0 && npA == npD) {
        int pawn = LowestSquare(p.Pieces(a, Pawn));
        int king = p.kingSquare[d];
        if (FileOf(king) == FileOf(pawn) && RowsToGo(a, king) < RowsToGo(a, pawn))
            return (score * 62) / 100;
    }
    return score;
}

} // namespace

int32_t fewPiecesEval(const Position& p, int side, EvalDetail& detail, int32_t* materialOut) {
    // Step 1. Material, phase and pawn structure.
    int m = materialBalance(White, p);
    if (materialOut) *materialOut = side == White ? m : materialBalance(Black, p);
    int npW = NonPawnMaterial(p, White), npB = NonPawnMaterial(p, Black);
    int phase = (npW + npB) / 2;
    PawnCacheEntry* entry = nullptr;
    int structure = pawnStructureTerm(White, p, entry, detail.pawnStructure, phase);

    // Step 2. A bare or nearly bare king.
    int bonuses = bareKingBonus(p, White) - bareKingBonus(p, Black);

    // Steps 3 and 4. Pieces and passed pawns, endgame halves only.
    buildAttackInfo(detail, p);
    ScorePair activity = pieceActivityTerm(White, p, *entry, detail);
    for (int c = 0; c < 2; ++c) detail.passedPawns[c] = passedPawnTerm(c, p, *entry, detail);
    int passed = detail.passedPawns[White] - detail.passedPawns[Black];
    int score = m + structure + bonuses + activity.eg + (75 * p.pstEg) / 100 + passed;

    // Step 5. The few-pieces bitbases.
    if (probeFewPieces(p, score)) return side == White ? score : -score;

    // Step 6. Outside passed pawns count while the pieces are few.
    score += outsideBonus(*entry, White, npB) - outsideBonus(*entry, Black, npW);

    // Step 7. Rook against minor piece.
    score += ExchangeBonus(White, p) - ExchangeBonus(Black, p);

    // Step 8. Two far-advanced connected pawns against a lone rook or knight.
    int pairWhite = unstoppablePair(p, White), pairBlack = unstoppablePair(p, Black);
    score += pairWhite + pairBlack;

    // Step 9. A lone bishop of the wrong colour for its rook pawns draws.
    int ahead = score > 0 ? White : score < 0 ? Black : side;
    if (NonPawnMaterial(p, ahead) == PieceValue[Bishop] && p.pawnCount[ahead] > 0) {
        bool lightCorner = false;
        if (rookPawnCorner(p, ahead, &lightCorner) == 2 &&
            !(p.Pieces(ahead, Bishop) & (lightCorner ? LightSquares : DarkSquares)))
            return 0;
    }

    // Step 10. Special material.
    if (score != 0) score = scaleForMaterial(p, score);

    // Step 11. Queen against queen.
    if (npW == PieceValue[Queen] && npB == PieceValue[Queen]) score = (score * 88) / 100;

    // Step 12. A pawn race when one side has no piece.
    if (p.pieceCount[White] == 0 || p.pieceCount[Black] == 0) {
        RaceResult race = pawnRace(p, *entry);
        if (race == RaceResult::WhiteWins && pairWhite <= 0) score += RaceWin;
        if (race == RaceResult::BlackWins && pairBlack >= 0) score -= RaceWin;
    }

    // Step 13. A lone minor piece without pawns cannot win.
    int strong = score >= 0 ? White : Black, weak = strong ^ 1;
    if (p.pieceCount[strong] <= 1 && p.pawnCount[strong] == 0 &&
        p.minorCount[strong] == p.pieceCount[strong])
        score = sign(weak) * p.pawnCount[weak];

    return side == White ? score : -score;
}

} // namespace corvid
