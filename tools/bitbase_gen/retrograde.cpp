#include "retrograde.h"

#include "chess/bitboard.h"
#include "chess/types.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <stdexcept>

namespace corvid::bitbase_gen {

namespace {

constexpr int PromotionTypes[4] = {Queen, Rook, Bishop, Knight};

int strength(const std::vector<int8_t>& types) {
    int sum = 0;
    for (int t : types) sum += PieceValue[t];
    return sum;
}

void sortTypes(std::vector<int8_t>& types) {
    std::sort(types.begin(), types.end(), [](int8_t a, int8_t b) { return a > b; });
}

int manAt(const Board& b, int square) {
    for (int i = 0; i < b.count; ++i)
        if (b.men[i].square == square) return i;
    return -1;
}

void removeMan(Board& b, int i) {
    for (int j = i; j + 1 < b.count; ++j) b.men[j] = b.men[j + 1];
    --b.count;
}

bool pawnRowOk(int square) { return RowOf(square) >= 1 && RowOf(square) <= 6; }

} // namespace

std::vector<int8_t> LockedExtras(const Material& material) {
    std::vector<int8_t> extras = material.white;
    extras.erase(std::find(extras.begin(), extras.end(), int8_t(Pawn)));
    return extras;
}

uint64_t Occupancy(const Board& board) {
    uint64_t occ = 0;
    for (int i = 0; i < board.count; ++i) occ |= SquareBB(board.men[i].square);
    return occ;
}

bool SquareAttacked(const Board& board, int square, int byColour, uint64_t occupancy) {
    for (int i = 0; i < board.count; ++i) {
        const Man& m = board.men[i];
        if (m.colour == byColour &&
            (PieceAttacks(m.type, m.colour, m.square, occupancy) >> square & 1))
            return true;
    }
    return false;
}

bool InCheck(const Board& board, int colour) {
    for (int i = 0; i < board.count; ++i)
        if (board.men[i].colour == colour && board.men[i].type == King)
            return SquareAttacked(board, board.men[i].square, 1 - colour, Occupancy(board));
    return false;
}

Board SwapColours(const Board& board) {
    Board swapped = board;
    for (int i = 0; i < board.count; ++i) {
        swapped.men[i].colour = int8_t(1 - board.men[i].colour);
        swapped.men[i].square = int8_t(board.men[i].square ^ 56);
    }
    // Keep the white king first.
    if (swapped.count >= 2) std::swap(swapped.men[0], swapped.men[1]);
    swapped.sideToMove = 1 - board.sideToMove;
    return swapped;
}

std::string Material::name() const {
    std::string s = "K";
    for (int t : white) s += PieceLetters[t];
    s += "vK";
    for (int t : black) s += PieceLetters[t];
    if (locked) s += "-locked";
    return s;
}

bool Material::hasPawns() const {
    return std::count(white.begin(), white.end(), Pawn) +
               std::count(black.begin(), black.end(), Pawn) >
           0;
}

Material MaterialOf(const Board& board, bool locked, bool* swapped) {
    Material m;
    for (int i = 0; i < board.count; ++i) {
        if (board.men[i].type == King) continue;
        (board.men[i].colour == White ? m.white : m.black).push_back(board.men[i].type);
    }
    sortTypes(m.white);
    sortTypes(m.black);
    m.locked = locked;
    *swapped = false;
    if (!locked) {
        int sw = strength(m.white), sb = strength(m.black);
        if (sb > sw || (sb == sw && m.black > m.white)) {
            std::swap(m.white, m.black);
            *swapped = true;
        }
    }
    return m;
}

// ---------------------------------------------------------------------------------------------

Table::Table(const Material& material, Registry& registry)
    : material_(material), registry_(registry) {
    if (material.locked) {
        // Slot 0 is the locked pair (black pawn square - 8, 40 values), represented by the
        // locked white pawn; the black pawn is implied.
        slots_.push_back({White, Pawn, 0});
        slots_.push_back({White, King, 0});
        slots_.push_back({Black, King, 0});
        for (int t : LockedExtras(material)) slots_.push_back({White, int8_t(t), 0});
        size_ = 2 * 40;
        for (size_t i = 1; i < slots_.size(); ++i) size_ *= 64;
    } else {
        slots_.push_back({White, King, 0});
        slots_.push_back({Black, King, 0});
        for (int t : material.white) slots_.push_back({White, int8_t(t), 0});
        for (int t : material.black) slots_.push_back({Black, int8_t(t), 0});
        size_ = 2;
        for (size_t i = 0; i < slots_.size(); ++i) size_ *= 64;
    }
}

int64_t Table::index(const Board& board) const {
    // Assign the board's men to the slots in order.
    bool used[6] = {};
    int squares[6];
    size_t first = 0;
    if (material_.locked) {
        int blackPawn = -1;
        for (int i = 0; i < board.count; ++i)
            if (board.men[i].colour == Black && board.men[i].type == Pawn) blackPawn = i;
        if (blackPawn < 0) return -1;
        int below = manAt(board, board.men[blackPawn].square + 8);
        if (below < 0 || board.men[below].colour != White || board.men[below].type != Pawn)
            return -1;
        used[blackPawn] = used[below] = true;
        squares[0] = board.men[below].square;
        first = 1;
    }
    for (size_t s = first; s < slots_.size(); ++s) {
        int found = -1;
        for (int i = 0; i < board.count && found < 0; ++i)
            if (!used[i] && board.men[i].colour == slots_[s].colour &&
                board.men[i].type == slots_[s].type)
                found = i;
        if (found < 0) return -1;
        used[found] = true;
        squares[s] = board.men[found].square;
    }
    for (int i = 0; i < board.count; ++i)
        if (!used[i]) return -1;

    // Canonical orientation: the white king on files a..d (and on rows 4..7 without pawns).
    int whiteKing = squares[material_.locked ? 1 : 0];
    int flip =
        (FileOf(whiteKing) >= 4 ? 7 : 0) | (!material_.hasPawns() && RowOf(whiteKing) < 4 ? 56 : 0);
    int64_t index = 0;
    for (size_t s = slots_.size(); s-- > 0;) {
        int sq = squares[s] ^ flip;
        if (material_.locked && s == 0) {
            int code = sq - 16; // the black pawn stands on sq - 8, rows 1..5
            if (code < 0 || code >= 40) return -1;
            index = index * 40 + code;
        } else {
            index = index * 64 + sq;
        }
    }
    return index * 2 + board.sideToMove;
}

bool Table::decode(int64_t index, Board& board) const {
    board.sideToMove = int(index & 1);
    index >>= 1;
    int squares[6];
    for (size_t s = 0; s < slots_.size(); ++s) {
        if (material_.locked && s == 0) {
            squares[s] = int(index % 40) + 16;
            index /= 40;
        } else {
            squares[s] = int(index & 63);
            index >>= 6;
        }
    }
    // Kings first in the board.
    board.count = 0;
    size_t kingSlot = material_.locked ? 1 : 0;
    board.men[board.count++] = {White, King, int8_t(squares[kingSlot])};
    board.men[board.count++] = {Black, King, int8_t(squares[kingSlot + 1])};
    uint64_t occ = SquareBB(squares[kingSlot]) | SquareBB(squares[kingSlot + 1]);
    if (occ == SquareBB(squares[kingSlot])) return false;
    for (size_t s = 0; s < slots_.size(); ++s) {
        if (s == kingSlot || s == kingSlot + 1) continue;
        int sq = squares[s];
        if (slots_[s].type == Pawn && !pawnRowOk(sq)) return false;
        if (occ >> sq & 1) return false;
        occ |= SquareBB(sq);
        board.men[board.count++] = {slots_[s].colour, slots_[s].type, int8_t(sq)};
        if (material_.locked && s == 0) {
            int blackPawn = sq - 8;
            if (occ >> blackPawn & 1) return false;
            occ |= SquareBB(blackPawn);
            board.men[board.count++] = {Black, Pawn, int8_t(blackPawn)};
        }
    }
    return true;
}

int Table::successors(const Board& board, Successor* out) const {
    int n = 0;
    int us = board.sideToMove, them = 1 - us;
    uint64_t occ = Occupancy(board);
    uint64_t own = 0;
    for (int i = 0; i < board.count; ++i)
        if (board.men[i].colour == us) own |= SquareBB(board.men[i].square);

    auto convert = [&](const Board& next, bool keepsLock) {
        Value v = registry_.value(next, keepsLock);
        out[n++] = {Negate(v), -1, false, Draw};
    };
    // A move that keeps the material: the locked pair is untouched by construction.
    auto quiet = [&](const Board& next) { out[n++] = {Illegal, index(next), false, Draw}; };

    for (int i = 0; i < board.count; ++i) {
        const Man man = board.men[i];
        if (man.colour != us) continue;
        if (man.type != Pawn) {
            uint64_t targets = PieceAttacks(man.type, us, man.square, occ) & ~own;
            while (targets) {
                int to = PopLowest(targets);
                Board next = board;
                next.men[i].square = int8_t(to);
                next.sideToMove = them;
                int victim = manAt(board, to);
                if (victim >= 0) {
                    if (board.men[victim].type == King) continue; // never in a legal state
                    removeMan(next, victim);
                }
                if (InCheck(next, us)) continue;
                if (victim >= 0)
                    convert(next, false);
                else
                    quiet(next);
            }
            continue;
        }
        // Pawn moves.
        int push = us == White ? -8 : 8;
        int to = man.square + push;
        auto pawnMove = [&](int target, int victim, bool isDouble) {
            Board next = board;
            next.men[i].square = int8_t(target);
            next.sideToMove = them;
            if (victim >= 0) removeMan(next, victim);
            if (InCheck(next, us)) return;
            if (RowOf(target) == (us == White ? 0 : 7)) {
                int moved = victim >= 0 && victim < i ? i - 1 : i;
                for (int t : PromotionTypes) {
                    Board promoted = next;
                    promoted.men[moved].type = int8_t(t);
                    convert(promoted, victim < 0 && material_.locked);
                }
                return;
            }
            if (victim >= 0) {
                convert(next, false);
                return;
            }
            int64_t state = index(next);
            Successor s{Illegal, state, false, Draw};
            if (isDouble) {
                // En passant by an enemy pawn beside the target square.
                int skipped = man.square + push;
                Value worst = Win;
                bool any = false;
                for (int j = 0; j < next.count; ++j) {
                    const Man& e = next.men[j];
                    if (e.colour != them || e.type != Pawn) continue;
                    if (RowOf(e.square) != RowOf(target) ||
                        std::abs(FileOf(e.square) - FileOf(target)) != 1)
                        continue;
                    Board after = next;
                    after.men[j].square = int8_t(skipped);
                    after.sideToMove = us;
                    int capturedPawn = manAt(after, target);
                    removeMan(after, capturedPawn);
                    if (InCheck(after, them)) continue;
                    Value v = registry_.value(after, false);
                    any = true;
                    if (v == Loss || (v == Draw && worst == Win)) worst = v;
                }
                if (any) {
                    s.epSensitive = true;
                    s.epMoverValue = worst;
                }
            }
            out[n++] = s;
        };
        if (!(occ >> to & 1)) {
            pawnMove(to, -1, false);
            int to2 = to + push;
            if (RowOf(man.square) == (us == White ? 6 : 1) && !(occ >> to2 & 1))
                pawnMove(to2, -1, true);
        }
        uint64_t captures = PawnAttacks[them][man.square] & occ & ~own;
        while (captures) {
            int target = PopLowest(captures);
            int victim = manAt(board, target);
            if (board.men[victim].type == King) continue;
            pawnMove(target, victim, false);
        }
    }
    return n;
}

} // namespace corvid::bitbase_gen

namespace corvid::bitbase_gen {

int Table::predecessors(const Board& board, int64_t* out, bool* doubleStep) const {
    int n = 0;
    int mover = 1 - board.sideToMove;
    uint64_t occ = Occupancy(board);
    int lockedBlack = -1, lockedWhite = -1;
    if (material_.locked) {
        for (int i = 0; i < board.count; ++i)
            if (board.men[i].colour == Black && board.men[i].type == Pawn) lockedBlack = i;
        lockedWhite = manAt(board, board.men[lockedBlack].square + 8);
    }
    auto add = [&](const Board& prev, bool isDouble) {
        if (InCheck(prev, board.sideToMove)) return;
        int64_t idx = index(prev);
        if (idx < 0) return;
        doubleStep[n] = isDouble;
        out[n++] = idx;
    };
    for (int i = 0; i < board.count; ++i) {
        const Man man = board.men[i];
        if (man.colour != mover || i == lockedWhite || i == lockedBlack) continue;
        Board prev = board;
        prev.sideToMove = mover;
        if (man.type != Pawn) {
            uint64_t sources = PieceAttacks(man.type, mover, man.square, occ) & ~occ;
            while (sources) {
                prev.men[i].square = int8_t(PopLowest(sources));
                add(prev, false);
            }
            continue;
        }
        int back = mover == White ? 8 : -8;
        int from = man.square + back;
        if (!pawnRowOk(from) || (occ >> from & 1)) continue;
        prev.men[i].square = int8_t(from);
        add(prev, false);
        int from2 = from + back;
        if (RowOf(man.square) == (mover == White ? 4 : 3) && !(occ >> from2 & 1)) {
            prev.men[i].square = int8_t(from2);
            add(prev, true);
        }
    }
    return n;
}

namespace {

// Working states while solving.
enum Work : uint8_t { Unknown = 0, WWin = 1, WLoss = 2, WIllegal = 3, WDraw = 4 };
constexpr uint8_t HasDraw = 0x80;

} // namespace

void Table::solve(bool keepDepth) {
    std::vector<uint8_t> work(size_t(size_), Unknown);
    std::vector<uint8_t> count(size_t(size_), 0);
    std::vector<uint8_t> depth(size_t(size_), 0);
    std::vector<std::vector<int64_t>> byDepth(2);
    Successor succ[256];

    for (int64_t idx = 0; idx < size_; ++idx) {
        Board board;
        if (!decode(idx, board) || index(board) != idx || InCheck(board, 1 - board.sideToMove)) {
            work[idx] = WIllegal;
            continue;
        }
        int n = successors(board, succ);
        if (n == 0) {
            if (InCheck(board, board.sideToMove)) {
                work[idx] = WLoss;
                byDepth[0].push_back(idx);
            } else {
                work[idx] = WDraw;
            }
            continue;
        }
        bool win = false, draw = false;
        int c = 0;
        for (int k = 0; k < n; ++k) {
            const Successor& s = succ[k];
            if (s.state < 0) {
                if (s.moverValue == Win) win = true;
                if (s.moverValue == Draw) draw = true;
            } else if (!(s.epSensitive && s.epMoverValue == Loss)) {
                ++c;
            }
        }
        if (win) {
            work[idx] = WWin;
            depth[idx] = 1;
            byDepth[1].push_back(idx);
        } else if (c == 0) {
            if (draw) {
                work[idx] = WDraw;
            } else {
                work[idx] = WLoss;
                depth[idx] = 1;
                byDepth[1].push_back(idx);
            }
        } else {
            count[idx] = uint8_t(c | (draw ? HasDraw : 0));
        }
    }

    int64_t prev[512];
    bool isDouble[512];
    for (size_t d = 0; d < byDepth.size(); ++d) {
        if (d + 2 > 255) throw std::runtime_error(material_.name() + ": depth overflow");
        for (size_t q = 0; q < byDepth[d].size(); ++q) {
            int64_t idx = byDepth[d][q];
            Board board;
            decode(idx, board);
            bool lost = work[idx] == WLoss;
            int n = predecessors(board, prev, isDouble);
            for (int k = 0; k < n; ++k) {
                int64_t p = prev[k];
                if (work[p] != Unknown) continue;
                // A double step into this state may let the side to move here capture en passant.
                Value epMover = Win;
                bool epSensitive = false;
                if (isDouble[k]) {
                    Board before;
                    decode(p, before);
                    Successor s2[256];
                    int m = successors(before, s2);
                    for (int j = 0; j < m; ++j)
                        if (s2[j].state == idx && s2[j].epSensitive) {
                            epSensitive = true;
                            epMover = s2[j].epMoverValue;
                        }
                }
                if (lost) {
                    if (epSensitive && epMover != Win) continue;
                    work[p] = WWin;
                } else {
                    if (epSensitive && epMover == Loss) continue;
                    uint8_t c = uint8_t((count[p] & 0x7f) - 1);
                    count[p] = uint8_t(c | (count[p] & HasDraw));
                    if (c > 0) continue;
                    if (count[p] & HasDraw) {
                        work[p] = WDraw;
                        continue;
                    }
                    work[p] = WLoss;
                }
                depth[p] = uint8_t(d + 1);
                if (byDepth.size() <= d + 1) byDepth.resize(d + 2);
                byDepth[d + 1].push_back(p);
            }
        }
        std::vector<int64_t>().swap(byDepth[d]);
        if (d + 1 >= byDepth.size()) break;
    }

    packed_.assign(size_t((size_ + 3) / 4), 0);
    for (int64_t idx = 0; idx < size_; ++idx) {
        Value v = work[idx] == WWin       ? Win
                  : work[idx] == WLoss    ? Loss
                  : work[idx] == WIllegal ? Illegal
                                          : Draw;
        packed_[idx >> 2] |= uint8_t(v << (2 * (idx & 3)));
    }
    if (keepDepth) depth_ = std::move(depth);
}

// ---------------------------------------------------------------------------------------------

namespace {

// Materials a table converts into: captures, promotions, and promotions with a capture.
std::vector<std::pair<Material, bool>> conversions(const Material& m) {
    std::vector<std::pair<Material, bool>> out;
    auto add = [&](std::vector<int8_t> w, std::vector<int8_t> b, bool locked) {
        Board board; // only the material matters here
        board.count = 2;
        board.men[0] = {White, King, 0};
        board.men[1] = {Black, King, 63};
        for (int t : w) board.men[board.count++] = {White, int8_t(t), 0};
        for (int t : b) board.men[board.count++] = {Black, int8_t(t), 0};
        bool swapped;
        out.push_back({MaterialOf(board, locked, &swapped), locked});
    };
    if (m.locked) {
        std::vector<int8_t> extras = LockedExtras(m);
        for (size_t i = 0; i < m.white.size(); ++i) { // a white man taken
            auto w = m.white;
            w.erase(w.begin() + long(i));
            add(w, m.black, false);
        }
        add(m.white, {}, false); // the black pawn taken
        for (size_t i = 0; i < extras.size(); ++i) {
            if (extras[i] != Pawn) continue;
            for (int t : PromotionTypes) {
                auto w = extras;
                w[i] = int8_t(t);
                w.push_back(Pawn);
                add(w, m.black, true);
            }
        }
        return out;
    }
    for (int side = 0; side < 2; ++side) {
        const auto& own = side == 0 ? m.white : m.black;
        const auto& other = side == 0 ? m.black : m.white;
        auto place = [&](std::vector<int8_t> o, std::vector<int8_t> x) {
            if (side == 0)
                add(o, x, false);
            else
                add(x, o, false);
        };
        for (size_t i = 0; i < other.size(); ++i) { // captures by this side
            auto x = other;
            x.erase(x.begin() + long(i));
            place(own, x);
        }
        for (size_t i = 0; i < own.size(); ++i) {
            if (own[i] != Pawn) continue;
            for (int t : PromotionTypes) {
                auto o = own;
                o[i] = int8_t(t);
                place(o, other);
                for (size_t j = 0; j < other.size(); ++j) {
                    if (other[j] == Pawn) continue; // no pawn stands on the last row
                    auto x = other;
                    x.erase(x.begin() + long(j));
                    place(o, x);
                }
            }
        }
    }
    return out;
}

} // namespace

const Table& Registry::solve(const Material& material, bool keepDepth) {
    auto it = tables_.find(material);
    if (it != tables_.end() && (!keepDepth || !it->second->depth_.empty())) return *it->second;
    for (auto& [next, locked] : conversions(material)) {
        (void)locked;
        if (next.white.empty() && next.black.empty()) continue;
        if (!(next < material) && !(material < next)) continue;
        solve(next);
    }
    auto table = std::make_unique<Table>(material, *this);
    auto start = std::chrono::steady_clock::now();
    table->solve(keepDepth);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    timings_.push_back({material.name(), seconds});
    if (verbose) std::fprintf(stderr, "solved %-16s %8.2f s\n", material.name().c_str(), seconds);
    Table& ref = *table;
    tables_[material] = std::move(table);
    lookup_.clear(); // a re-solved table replaces the one the cache points at
    return ref;
}

Value Registry::value(const Board& board, bool locked) {
    // The men counted by colour and kind make a small key; the slow material lookup runs once
    // per key.
    uint32_t key = locked ? 1u : 0u;
    for (int i = 0; i < board.count; ++i)
        if (board.men[i].type != King)
            key += 2u << (3 * (board.men[i].colour * 5 + board.men[i].type));
    auto cached = lookup_.find(key);
    if (cached == lookup_.end()) {
        bool swapped;
        Material m = MaterialOf(board, locked, &swapped);
        const Table* table = nullptr;
        if (!m.white.empty() || !m.black.empty()) {
            auto it = tables_.find(m);
            if (it == tables_.end()) throw std::runtime_error("table not solved: " + m.name());
            table = it->second.get();
        }
        cached = lookup_.emplace(key, std::make_pair(table, swapped)).first;
    }
    const auto [table, swapped] = cached->second;
    if (!table) return Draw; // bare kings
    int64_t idx = table->index(swapped ? SwapColours(board) : board);
    if (idx < 0) throw std::runtime_error("board does not fit " + table->material().name());
    return table->value(idx);
}

} // namespace corvid::bitbase_gen
