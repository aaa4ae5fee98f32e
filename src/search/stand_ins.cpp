// STAND-INS (see stand_ins.h): minimal versions, replaced by the real modules as they land.
#include "search/stand_ins.h"

#include "chess/attacks.h"
#include "chess/make_move.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace corvid {

// ---- Engine control
SearchInfo searchInfo;
void reportSearchLine(const SearchContext&, int) {}

// ---- Transposition table: one entry per slot, replaced unless a quiescence entry would
// overwrite a deeper one.
namespace {
struct StandInEntry {
    uint64_t key;
    int16_t score, staticEval, depth;
    Move move;
    uint8_t bound, hints;
};
constexpr int StandInTableBits = 18;
StandInEntry standInTable[1 << StandInTableBits];
uint32_t standInAge = 0;

StandInEntry& slotFor(uint64_t key) {
    return standInTable[key & ((1u << StandInTableBits) - 1)];
}
int fromTable(int s, int ply) { return s > MateThreshold ? s - ply : s < -MateThreshold ? s + ply : s; }
int toTable(int s, int ply) { return s > MateThreshold ? s + ply : s < -MateThreshold ? s - ply : s; }
bool cutsOff(int bound, int s, int d, int alpha, int beta, int required) {
    if (bound == BoundUpper) return s <= alpha && (d >= required || s <= -9798);
    if (bound == BoundLower) return s >= beta && (d >= required || s >= 9798);
    if (bound == BoundExact) return d >= required;
    return false;
}
} // namespace

std::atomic<bool> useHashTableStandIn{true};

bool ttProbe(uint64_t key, int alpha, int beta, int requiredDepth, int ply, int, TTProbe& out) {
    if (!useHashTableStandIn.load(std::memory_order_relaxed)) return false;
    const StandInEntry& e = slotFor(key);
    if (e.key != key || key == 0) return false;
    out.found = true;
    out.move = e.move;
    out.score = fromTable(e.score, ply);
    out.depth = e.depth;
    out.bound = e.bound;
    out.staticEval = e.staticEval;
    out.hints = e.hints;
    return cutsOff(e.bound, out.score, e.depth, alpha, beta, requiredDepth);
}

bool ttProbeQuiescence(uint64_t key, int alpha, int beta, int requiredDepth, int ply, int& score,
                       int& staticEval) {
    if (!useHashTableStandIn.load(std::memory_order_relaxed)) return false;
    const StandInEntry& e = slotFor(key);
    if (e.key != key || key == 0) return false;
    staticEval = e.staticEval;
    score = fromTable(e.score, ply);
    return cutsOff(e.bound, score, e.depth, alpha, beta, requiredDepth);
}

void ttStore(uint64_t key, int alpha, int beta, Move move, int score, int depth, int ply, int,
             int staticEval, int hints) {
    if (!useHashTableStandIn.load(std::memory_order_relaxed)) return;
    if (score == NoScore || std::abs(score) >= AbortScore) return;
    StandInEntry& e = slotFor(key);
    if (e.key == key && depth < 0 && depth < e.depth) return;
    if (e.key == key && move == NoMove) move = e.move;
    if (e.key == key && staticEval == NoScore) staticEval = e.staticEval;
    e.key = key;
    e.bound = uint8_t(score <= alpha ? BoundUpper : score >= beta ? BoundLower : BoundExact);
    e.score = int16_t(std::clamp(toTable(score, ply), -MateValue, MateValue));
    e.staticEval = int16_t(staticEval);
    e.depth = int16_t(depth);
    e.move = move;
    e.hints = uint8_t(hints);
}

uint32_t ttNewSearchAge() { return standInAge++; }
void ttClear() { std::memset(standInTable, 0, sizeof standInTable); }

// ---- Evaluation: material and piece-square sums.
int evaluatePosition(const Position& p, int, int, bool* lazyFlag) {
    if (lazyFlag) *lazyFlag = false;
    int us = p.sideToMove, them = us ^ 1;
    int phase = std::clamp((p.material[White] + p.material[Black] - 100 * (p.pawnCount[White] +
                            p.pawnCount[Black]) - 1100) , 0, 3000);
    int pst = (p.pstMg * phase + p.pstEg * (3000 - phase)) / 3000;
    int score = p.material[us] - p.material[them] + (us == White ? pst : -pst) + 12;
    return score / 4 * 4;
}

// ---- Exchange, threat and mate tests
namespace {
int valueOn(const Position& p, int square) {
    PieceCode piece = p.board[square];
    return piece == Empty ? 0 : PieceValue[TypeOf(piece)];
}
bool isCapture(const Position& p, Move m) {
    PieceCode target = p.board[MoveTo(m)];
    return target != Empty && ColourOf(target) != p.sideToMove;
}
bool noLegalMove(const Position& p) {
    MoveList list;
    GenerateLegalMoves(p, list);
    return list.count == 0;
}
} // namespace

bool seeAtLeast(const Position& p, Move m, int t) {
    int from = MoveFrom(m), to = MoveTo(m);
    int us = p.sideToMove, them = us ^ 1;
    int b = PieceValue[TypeOf(p.board[from])];
    int captured = isCapture(p, m) ? valueOn(p, to) : 0;
    int d = captured - t;
    int gain = (TypeOf(p.board[from]) == Pawn && (SquareBB(to) & PromotionRows)) ? 884 : 0;
    if (d >= b) return true;
    Bitboard occupancy = p.occupied ^ SquareBB(from);
    Bitboard attackers = AttackersUnder(p, to, them, true, occupancy);
    if (!attackers) return true;
    if (b == 3000) return false;
    attackers &= ~p.blockers[them];
    if (!attackers) return true;
    if ((SquareBB(to) & PromotionRows) &&
        (AttackersOf(p, to, us, false) & p.pieceBB[Pawn] & ~SquareBB(from)))
        return true;
    if ((attackers & p.pieceBB[Pawn]) && d + 100 < b) return false;
    if ((attackers & p.pieceBB[Knight]) && d + 320 < b) return false;
    if ((attackers & p.pieceBB[Bishop]) && d + 340 < b) return false;
    if ((attackers & p.pieceBB[Rook]) && d + 522 < b) return false;
    if (d + gain >= b) return true;
    return (AttackersUnder(p, to, us, true, occupancy) & ~SquareBB(from)) != 0;
}

int threatClassOf(const Position& p, Move m, bool threatDetection) {
    int from = MoveFrom(m), to = MoveTo(m);
    int type = TypeOf(p.board[from]);
    if (type != Pawn && type != King && !seeAtLeast(p, m, -21)) return -1;
    if (!threatDetection) return 0;
    if (type == Pawn) {
        int us = p.sideToMove;
        int rowsLeft = us == White ? RowOf(to) : 7 - RowOf(to);
        if (rowsLeft == 1) {
            int front = to + PawnPush[us];
            return seeAtLeast(p, m, -21) && p.board[front] == Empty ? 5 : 3;
        }
    }
    return 0;
}

int findMateMove(const Position& p, int, Move& move) {
    MoveList list;
    GenerateLegalMoves(p, list);
    CheckSquares cs = PrepareCheckSquares(p);
    for (int i = 0; i < list.count; ++i) {
        Move m = list.moves[i];
        if (TypeOf(p.board[MoveFrom(m)]) == King) continue;
        Bitboard checks = GivesCheck(p, m, cs);
        if (!checks) continue;
        Position child = p;
        UndoInfo undo;
        MakeMove(child, m, checks, undo);
        if (noLegalMove(child)) {
            move = m;
            return 1;
        }
    }
    return 0;
}

namespace {
bool asSide(const Position& p, int side, Position& out) {
    out = p;
    if (p.sideToMove == side) return true;
    if (p.checkers) return false;
    MakeNullMove(out);
    return true;
}
} // namespace

bool findMateThreat(const Position& p, int side, Move& move) {
    Position q;
    if (!asSide(p, side, q)) return false;
    return findMateMove(q, 1, move) > 0;
}

bool isStillMating(const Position& p, int side, Move move) {
    Position q;
    if (!asSide(p, side, q)) return false;
    if (move == NoMove || IsMarker(move) || !IsPseudoLegal(q, move, side, false)) return false;
    CheckSquares cs = PrepareCheckSquares(q);
    Bitboard checks = GivesCheck(q, move, cs);
    if (!checks) return false;
    UndoInfo undo;
    MakeMove(q, move, checks, undo);
    return noLegalMove(q);
}

bool isEscapeMove(const Position& p, Move m) {
    int from = MoveFrom(m);
    int us = p.sideToMove, them = us ^ 1;
    int type = TypeOf(p.board[from]);
    Bitboard attackers = AttackersOf(p, from, them, true) & ~p.blockers[them];
    if (!attackers) return false;
    if (type != Pawn && (attackers & p.pieceBB[Pawn])) return true;
    if ((type == Rook || type == Queen) && (attackers & (p.pieceBB[Knight] | p.pieceBB[Bishop])))
        return true;
    if (type == Queen && (attackers & p.pieceBB[Rook])) return true;
    return AttackersOf(p, from, us, true) == 0;
}

void GenerateChecks(const Position& p, Bitboard targets, const CheckSquares& cs, MoveList& out) {
    MoveList list;
    GenerateMoves(p, list, p.colourBB[p.sideToMove], targets, PawnPushesOnly, true, false);
    for (int i = 0; i < list.count; ++i)
        if (GivesCheck(p, list.moves[i], cs)) out.Add(list.moves[i]);
}

int checkClass(const Position& p, Move m, int, int) {
    Position q = p;
    MakeMoveWithCheck(q, m);
    int king = q.kingSquare[q.sideToMove];
    Bitboard occupancy = q.occupied ^ SquareBB(king);
    int flights = 0;
    for (Bitboard b = KingAttacks[king] & ~q.colourBB[q.sideToMove]; b;) {
        int s = PopLowest(b);
        if (!IsAttacked(q, s, q.sideToMove ^ 1, occupancy)) ++flights;
    }
    return flights == 0 ? 3 : flights == 1 ? 1 : 0;
}

bool deltaWorthy(const Position& p, Move m, int e, int threshold, int cv) {
    int to = MoveTo(m);
    bool promotion = TypeOf(p.board[MoveFrom(m)]) == Pawn && (SquareBB(to) & PromotionRows);
    if (promotion && PromotionCode(m) != 0) return false;
    return e + cv + (promotion ? 884 : 0) >= threshold;
}

void limitedEvasions(const Position& p, MoveList& out) {
    if (MoreThanOne(p.checkers)) return;
    MoveList list;
    GenerateEvasions(p, list);
    int checker = LowestSquare(p.checkers);
    for (int i = 0; i < list.count; ++i) {
        Move m = list.moves[i];
        bool king = TypeOf(p.board[MoveFrom(m)]) == King;
        if (!isCapture(p, m)) continue;
        if (!king && MoveTo(m) != checker) continue;
        if (king && AttackersOf(p, MoveTo(m), p.sideToMove ^ 1, true)) continue;
        out.Add(m);
    }
}

Bitboard discoveredTargets(const Position&, int, int, int, Bitboard) { return 0; }

// ---- Move ordering
namespace {
int16_t MainHistory[8][4096];
Move CounterMoves[1024];
int16_t ContinuationHistory1[1024][16][64];
int16_t ContinuationHistory2[1024][16][64];

int historyGroup(PieceCode piece) {
    static constexpr int8_t Group[16] = {0, 1, 1, 1, 2, 3, 0, 0, 4, 5, 5, 5, 6, 7, 0, 0};
    return Group[piece & 15];
}
void historyUpdate(int16_t& h, int b) {
    int v = h + b - (h * std::abs(b)) / 16384;
    h = int16_t(v);
    if (b > 0 && h < 0) h = int16_t(h >> 1);
}
int promotionGain(const Position& p, Move m) {
    if (TypeOf(p.board[MoveFrom(m)]) != Pawn || !(SquareBB(MoveTo(m)) & PromotionRows)) return 0;
    static constexpr int Gain[4] = {884, 220, 422, 240};
    return Gain[PromotionCode(m)];
}
} // namespace

int PieceToIndex(PieceCode piece, int to) { return piece * 64 + to; }

bool IsQuietMove(const Position& p, Move m) {
    if (p.board[MoveTo(m)] != Empty) return false;
    return !(TypeOf(p.board[MoveFrom(m)]) == Pawn && (SquareBB(MoveTo(m)) & PromotionRows));
}

void scoreCaptures(const MoveList& list, const Position& p, int* keys) {
    for (int i = 0; i < list.count; ++i) {
        Move m = list.moves[i];
        int victim = isCapture(p, m) ? valueOn(p, MoveTo(m)) : 0;
        keys[i] = (victim + promotionGain(p, m)) * 32 - PieceValue[TypeOf(p.board[MoveFrom(m)])];
    }
}

void scoreQuiets(const MoveList& list, const Position& p, int prev1, int prev2, int* keys) {
    for (int i = 0; i < list.count; ++i) {
        Move m = list.moves[i];
        PieceCode piece = p.board[MoveFrom(m)];
        int to = MoveTo(m);
        int key = MainHistory[historyGroup(piece)][m & 4095];
        if (prev1) key += ContinuationHistory1[prev1][piece][to];
        if (prev2) key += ContinuationHistory2[prev2][piece][to];
        keys[i] = key;
    }
}

void scoreEvasions(const MoveList& list, const Position& p, int prev1, int* keys) {
    for (int i = 0; i < list.count; ++i) {
        Move m = list.moves[i];
        PieceCode piece = p.board[MoveFrom(m)];
        int to = MoveTo(m);
        if (p.board[to] == Empty) {
            keys[i] = MainHistory[historyGroup(piece)][m & 4095] +
                      (prev1 ? ContinuationHistory1[prev1][piece][to] : 0);
        } else {
            keys[i] = 500000000 + valueOn(p, to) * 32 - PieceValue[TypeOf(piece)] +
                      32 * promotionGain(p, m);
        }
    }
}

void sortMoves(MoveList& list, int* keys) {
    for (int i = 1; i < list.count; ++i) {
        Move m = list.moves[i];
        int k = keys[i], j = i;
        for (; j > 0 && keys[j - 1] < k; --j) {
            list.moves[j] = list.moves[j - 1];
            keys[j] = keys[j - 1];
        }
        list.moves[j] = m;
        keys[j] = k;
    }
}

bool moveToFront(MoveList& list, int* keys, Move move, int index) {
    if (move == NoMove) return false;
    for (int j = index; j < list.count; ++j) {
        if (list.moves[j] != move) continue;
        if (j < 1 || j == index) return false;
        int key = keys ? keys[j] : 0;
        std::memmove(list.moves + index + 1, list.moves + index, sizeof(Move) * size_t(j - index));
        if (keys) std::memmove(keys + index + 1, keys + index, sizeof(int) * size_t(j - index));
        list.moves[index] = move;
        if (keys) keys[index] = key;
        return true;
    }
    return false;
}

void clearHistories() {
    std::memset(MainHistory, 0, sizeof MainHistory);
    std::memset(CounterMoves, 0, sizeof CounterMoves);
    std::memset(ContinuationHistory1, 0, sizeof ContinuationHistory1);
    std::memset(ContinuationHistory2, 0, sizeof ContinuationHistory2);
}

Move counterMoveFor(int prev1) { return prev1 ? CounterMoves[prev1] : NoMove; }

void updateKillers(Move killers[2], Move move) {
    if (move == NoMove || IsMarker(move) || move == killers[1]) return;
    killers[0] = killers[1];
    killers[1] = move;
}

void updateQuietStats(const Position& p, Move best, int depth, Move killers[2], int prev1,
                      int prev2, bool isRoot, const Move* tried, int triedCount) {
    if (best == NoMove || IsMarker(best) || !IsQuietMove(p, best)) return;
    updateKillers(killers, best);
    if (!isRoot && prev1 && !p.checkers) CounterMoves[prev1] = best;
    int plies = std::min(depth / 2, 11);
    if (plies < 2) return;
    int bonus = plies * plies;
    auto apply = [&](Move m, int b) {
        PieceCode piece = p.board[MoveFrom(m)];
        int to = MoveTo(m);
        historyUpdate(MainHistory[historyGroup(piece)][m & 4095], b);
        if (prev1) {
            historyUpdate(ContinuationHistory1[prev1][piece][to], b);
            if (prev2) historyUpdate(ContinuationHistory2[prev2][piece][to], b);
        }
    };
    apply(best, bonus + 1);
    for (int i = 0; i < triedCount; ++i) {
        Move m = tried[i];
        if (m == NoMove || m == best || !IsQuietMove(p, m)) continue;
        apply(m, -bonus);
    }
}

// ---- Staged picker
void MovePicker::init(const Position& p, Move tableMove, const Move nodeKillers[2], int previous1,
                      int previous2) {
    position = &p;
    ttMove = tableMove;
    killers[0] = nodeKillers[0];
    killers[1] = nodeKillers[1];
    prev1 = previous1;
    prev2 = previous2;
    counter = counterMoveFor(prev1);
    deferredCount = 0;
    evasionCount = 0;
    index = 0;
    list.count = 0;
    if (p.checkers) {
        GenerateEvasions(p, list);
        scoreEvasions(list, p, prev1, keys);
        sortMoves(list, keys);
        moveToFront(list, keys, killers[1], 0);
        moveToFront(list, keys, ttMove, 0);
        evasionCount = list.count;
        stage = EvasionStage;
        return;
    }
    stage = HashStage;
    if (ttMove) list.Add(ttMove);
}

bool MovePicker::bringNext(Move move) { return moveToFront(list, keys, move, index); }

Move MovePicker::next() {
    const Position& p = *position;
    int us = p.sideToMove;
    for (;;) {
        while (index < list.count) {
            Move m = list.moves[index++];
            if (stage == EvasionStage || stage == HashStage) return m;
            if (m == ttMove) continue;
            if (stage == CaptureStage && isCapture(p, m) && !seeAtLeast(p, m, -21)) {
                if (deferredCount < MaxDeferredCaptures) deferred[deferredCount++] = m;
                continue;
            }
            if (stage == QuietStage) {
                if (m == killers[0] || m == killers[1] || m == counter) continue;
                // The en-passant capture comes with the captures.
                if (MoveTo(m) == p.epSquare && TypeOf(p.board[MoveFrom(m)]) == Pawn &&
                    FileOf(MoveFrom(m)) != FileOf(MoveTo(m)))
                    continue;
            }
            return m;
        }
        if (stage == EvasionStage || stage == BadCaptureStage || stage == DoneStage) {
            stage = DoneStage;
            return NoMove;
        }
        ++stage;
        list.count = 0;
        index = 0;
        if (stage == CaptureStage) {
            GenerateMoves(p, list, p.colourBB[us], p.colourBB[us ^ 1], PawnCapturesOnly, true,
                          false);
            GenerateMoves(p, list, p.Pieces(us, Pawn), ~p.occupied & PromotionRows,
                          PawnPushesOnly, false, true);
            scoreCaptures(list, p, keys);
            sortMoves(list, keys);
        } else if (stage == RefutationStage) {
            Move candidates[3] = {killers[1], killers[0], NoMove};
            if (prev1 && counter != killers[0] && counter != killers[1]) candidates[2] = counter;
            for (Move m : candidates)
                if (m && !IsMarker(m) && m != ttMove && IsPseudoLegal(p, m, us, true)) {
                    keys[list.count] = 0;
                    list.Add(m);
                }
        } else if (stage == QuietStage) {
            GenerateCastling(p, list);
            GenerateMoves(p, list, p.colourBB[us], ~p.occupied, PawnBoth, true, false);
            scoreQuiets(list, p, prev1, prev2, keys);
            sortMoves(list, keys);
        } else if (stage == BadCaptureStage) {
            for (int i = 0; i < deferredCount; ++i) {
                keys[list.count] = 0;
                list.Add(deferred[i]);
            }
        }
    }
}

} // namespace corvid
