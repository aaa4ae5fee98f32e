#include "chess/bitboard.h"

#include "chess/eval_masks.h"
#include "chess/magics.h"

#include <cstdlib>
#include <initializer_list>

namespace corvid {

Bitboard KnightAttacks[64];
Bitboard KingAttacks[64];
Bitboard PawnAttacks[2][64];
Bitboard RookPseudo[64];
Bitboard BishopPseudo[64];
Bitboard RowMask[8];
Bitboard FileMask[8];
uint8_t PromotionSquare[2][64];
Bitboard ShelterSquares[4];
Bitboard BetweenMask[64][64];
Bitboard LineMask[64][64];
Bitboard RayBeyond[64][64];
MagicEntry RookMagic[64];
MagicEntry BishopMagic[64];

namespace {

Bitboard SliderAttackTable[RookTableSize + BishopTableSize];

constexpr int RookSteps[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
constexpr int BishopSteps[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};

bool OnBoard(int file, int row) { return file >= 0 && file < 8 && row >= 0 && row < 8; }

Bitboard StepTargets(int square, const int (*steps)[2], int count) {
    Bitboard targets = 0;
    for (int i = 0; i < count; ++i) {
        int file = FileOf(square) + steps[i][0], row = RowOf(square) + steps[i][1];
        if (OnBoard(file, row)) targets |= SquareBB(MakeSquare(file, row));
    }
    return targets;
}

void InitStepTables() {
    constexpr int KnightSteps[8][2] = {{1, 2},   {2, 1},   {2, -1}, {1, -2},
                                       {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
    constexpr int KingSteps[8][2] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                     {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    // A white pawn one row below (higher row number) attacks diagonally up.
    constexpr int WhitePawnFrom[2][2] = {{-1, 1}, {1, 1}};
    constexpr int BlackPawnFrom[2][2] = {{-1, -1}, {1, -1}};
    for (int s = 0; s < 64; ++s) {
        KnightAttacks[s] = StepTargets(s, KnightSteps, 8);
        KingAttacks[s] = StepTargets(s, KingSteps, 8);
        PawnAttacks[White][s] = RowOf(s) <= 6 ? StepTargets(s, WhitePawnFrom, 2) : 0;
        PawnAttacks[Black][s] = RowOf(s) >= 1 ? StepTargets(s, BlackPawnFrom, 2) : 0;
        RookPseudo[s] = SlidingAttacksReference(s, 0, true);
        BishopPseudo[s] = SlidingAttacksReference(s, 0, false);
        PromotionSquare[White][s] = uint8_t(FileOf(s));
        PromotionSquare[Black][s] = uint8_t(FileOf(s) + 56);
    }
}

void InitMasks() {
    for (int i = 0; i < 8; ++i) {
        RowMask[i] = Bitboard{0xFF} << (8 * i);
        FileMask[i] = 0x0101010101010101ULL << i;
    }
    auto squares = [](std::initializer_list<int> list) {
        Bitboard b = 0;
        for (int s : list) b |= SquareBB(s);
        return b;
    };
    // f2 g2 h2 f3 g3 h3; a2 b2 c2 a3 b3 c3; and the black mirrors.
    ShelterSquares[0] = squares({53, 54, 55, 45, 46, 47});
    ShelterSquares[1] = squares({48, 49, 50, 40, 41, 42});
    ShelterSquares[2] = squares({13, 14, 15, 21, 22, 23});
    ShelterSquares[3] = squares({8, 9, 10, 16, 17, 18});
}

// The whole rank, file, diagonal or anti-diagonal through a, chosen by the step size.
Bitboard FullLine(int a, int step) {
    int stepAbs = std::abs(step);
    if (stepAbs == 1) return RowMask[RowOf(a)];
    if (stepAbs == 8) return FileMask[FileOf(a)];
    Bitboard line = SquareBB(a);
    int df = stepAbs == 9 ? 1 : -1; // +9 goes right and down a row
    for (int dir : {1, -1}) {
        int file = FileOf(a) + dir * df, row = RowOf(a) + dir;
        while (OnBoard(file, row)) {
            line |= SquareBB(MakeSquare(file, row));
            file += dir * df;
            row += dir;
        }
    }
    return line;
}

void InitLineTables() {
    for (int a = 0; a < 64; ++a) {
        for (int b = 0; b < 64; ++b) {
            int u = Direction(a, b);
            BetweenMask[a][b] = LineMask[a][b] = RayBeyond[a][b] = 0;
            if (u == 0) continue;
            Bitboard line = FullLine(a, u);
            for (int s = a + u; s != b; s += u) BetweenMask[a][b] |= SquareBB(s);
            LineMask[a][b] = line;
            for (int s = b + u; s >= 0 && s < 64 && (line & SquareBB(s)); s += u)
                RayBeyond[a][b] |= SquareBB(s);
        }
    }
}

void InitMagics(MagicEntry* entries, const uint64_t* multipliers, bool rook, int& offset) {
    for (int s = 0; s < 64; ++s) {
        MagicEntry& e = entries[s];
        e.mask = SliderMask(s, rook);
        e.bits = PopCountSmall(e.mask);
        e.shift = 64 - e.bits;
        e.multiplier = multipliers[s];
        Bitboard* block = SliderAttackTable + offset;
        e.attacks = block;
        offset += 1 << e.bits;
        // Walk every subset of the mask (carry-rippler enumeration).
        Bitboard subset = 0;
        do {
            block[(subset * e.multiplier) >> (64 - e.bits)] =
                SlidingAttacksReference(s, subset, rook);
            subset = (subset - e.mask) & e.mask;
        } while (subset);
    }
}

} // namespace

Bitboard SlidingAttacksReference(int square, Bitboard occupancy, bool rook) {
    const int(*steps)[2] = rook ? RookSteps : BishopSteps;
    Bitboard attacks = 0;
    for (int i = 0; i < 4; ++i) {
        int file = FileOf(square) + steps[i][0], row = RowOf(square) + steps[i][1];
        while (OnBoard(file, row)) {
            Bitboard b = SquareBB(MakeSquare(file, row));
            attacks |= b;
            if (occupancy & b) break;
            file += steps[i][0];
            row += steps[i][1];
        }
    }
    return attacks;
}

Bitboard SliderMask(int square, bool rook) {
    const int(*steps)[2] = rook ? RookSteps : BishopSteps;
    Bitboard mask = 0;
    for (int i = 0; i < 4; ++i) {
        int file = FileOf(square) + steps[i][0], row = RowOf(square) + steps[i][1];
        // Stop before the last square of every ray: its occupancy never changes the result.
        while (OnBoard(file + steps[i][0], row + steps[i][1])) {
            mask |= SquareBB(MakeSquare(file, row));
            file += steps[i][0];
            row += steps[i][1];
        }
    }
    return mask;
}

int Direction(int a, int b) {
    if (a == b) return 0;
    int df = FileOf(b) - FileOf(a), dr = RowOf(b) - RowOf(a);
    int sign = a < b ? 1 : -1;
    if (dr == 0) return sign;
    if (df == 0) return 8 * sign;
    if (df == dr) return 9 * sign;
    if (df == -dr) return 7 * sign;
    return 0;
}

Bitboard FileWithout[64];
uint8_t RankReach[8][64];

namespace {

// Both tables from the reference ray walk: the file part of the empty board's rook reach, and
// the first rank's reach for every occupancy of its inner files.
void InitRookLines() {
    for (int s = 0; s < 64; ++s) FileWithout[s] = RookPseudo[s] & FileMask[FileOf(s)];
    for (int file = 0; file < 8; ++file)
        for (int inner = 0; inner < 64; ++inner)
            RankReach[file][inner] =
                uint8_t(SlidingAttacksReference(file, Bitboard(inner) << 1, true) & RowMask[0]);
}

} // namespace

void InitAttackTables() {
    InitMasks();
    InitStepTables();
    InitLineTables();
    InitRookLines();
    int offset = 0;
    InitMagics(RookMagic, RookMagics, true, offset);
    InitMagics(BishopMagic, BishopMagics, false, offset);
    InitEvalMasks();
}

} // namespace corvid
