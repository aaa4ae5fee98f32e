#include "bitbase_files.h"

#include "pawn_race.h"

#include "chess/types.h"
#include "eval/bitbase_index.h"

#include <map>
#include <stdexcept>

namespace corvid::bitbase_gen {

void LogicalBits::set(int64_t index, bool value) {
    if (index < 0 || size_t(index >> 3) >= bits.size())
        throw std::runtime_error("bitbase index out of range");
    uint8_t mask = uint8_t(1u << (index & 7));
    uint8_t& b = bits[size_t(index >> 3)];
    uint8_t& u = used[size_t(index >> 3)];
    if ((u & mask) && (((b & mask) != 0) != value))
        throw std::runtime_error("two positions disagree at bitbase index " +
                                 std::to_string(index));
    u |= mask;
    if (value) b |= mask;
}

const std::vector<std::string>& BitbaseNames() {
    static const std::vector<std::string> names = {"PawnRace", "KPK",  "KPKP", "KPKQ", "KPPKP",
                                                   "KPKR",     "KPPK", "KPNK", "KPBK"};
    return names;
}

namespace {

Material material(std::vector<int8_t> white, std::vector<int8_t> black, bool locked = false) {
    Material m;
    m.white = std::move(white);
    m.black = std::move(black);
    m.locked = locked;
    return m;
}

bool legal(const Board& b) {
    uint64_t occ = 0;
    for (int i = 0; i < b.count; ++i) {
        if (occ >> b.men[i].square & 1) return false;
        occ |= SquareBB(b.men[i].square);
    }
    return !InCheck(b, 1 - b.sideToMove);
}

Board makeBoard(std::initializer_list<Man> men, int sideToMove) {
    Board b;
    for (const Man& m : men) b.men[b.count++] = m;
    b.sideToMove = sideToMove;
    return b;
}

// White's result in a board: Win, Draw or Loss.
Value whiteResult(Registry& registry, const Board& b, bool locked) {
    Value v = registry.value(b, locked);
    return b.sideToMove == White ? v : Negate(v);
}

// Calls f(K, k, stm) for every placement of both kings and side to move.
template <class F> void forKings(F f) {
    for (int K = 0; K < 64; ++K)
        for (int k = 0; k < 64; ++k)
            for (int stm = 0; stm < 2; ++stm) f(K, k, stm);
}

} // namespace

std::vector<Material> SourceMaterials(const std::string& name) {
    if (name == "KPK") return {material({Pawn}, {})};
    if (name == "KPKP") return {material({Pawn}, {Pawn})};
    if (name == "KPKQ") return {material({Queen}, {Pawn})};
    if (name == "KPKR") return {material({Rook}, {Pawn})};
    if (name == "KPPK") return {material({Pawn, Pawn}, {})};
    if (name == "KPPKP") return {material({Pawn, Pawn}, {Pawn}, true)};
    if (name == "KPNK") return {material({Knight, Pawn}, {})};
    if (name == "KPBK") return {material({Bishop, Pawn}, {})};
    return {};
}

LogicalBits BuildBitbase(const std::string& name, Registry& registry) {
    for (const Material& m : SourceMaterials(name)) registry.solve(m);
    const int8_t W = White, B = Black;

    if (name == "PawnRace") {
        LogicalBits out(PawnRaceBits);
        PawnRace race;
        for (int P = 8; P < 56; ++P)
            forKings([&](int K, int k, int stm) {
                Board b = makeBoard(
                    {{W, King, int8_t(K)}, {B, King, int8_t(k)}, {W, Pawn, int8_t(P)}}, stm);
                if (!legal(b)) return;
                bool toMove = stm == White;
                int64_t entry = pawnRaceEntry(K, k, P);
                out.set(4 * entry + 2 * int(toMove), race.promotes(P, K, k, toMove, 1));
                out.set(4 * entry + 2 * int(toMove) + 1, race.promotes(P, K, k, toMove, 0));
            });
        return out;
    }
    if (name == "KPK") {
        LogicalBits out(KpkBits);
        for (int P = 8; P < 56; ++P)
            forKings([&](int K, int k, int stm) {
                Board b = makeBoard(
                    {{W, King, int8_t(K)}, {B, King, int8_t(k)}, {W, Pawn, int8_t(P)}}, stm);
                if (!legal(b)) return;
                out.set(kpkIndex(K, k, P, stm == White), whiteResult(registry, b, false) != Win);
            });
        return out;
    }
    if (name == "KPKP" || name == "KPPK" || name == "KPPKP") {
        int64_t bits = name == "KPKP" ? KpkpBits : name == "KPPK" ? KppkBits : KppkpBits;
        LogicalBits out(bits);
        for (int P = 8; P < 56; ++P)
            for (int Q = 8; Q < 56; ++Q) {
                if (P == Q) continue;
                if (name == "KPPK" && Q < P) continue;
                // KPPKP: P is the free pawn, Q the weak pawn with the blocked pawn behind it.
                if (name == "KPPKP" && (RowOf(Q) > 5 || Q + 8 == P)) continue;
                forKings([&](int K, int k, int stm) {
                    Board b;
                    if (name == "KPKP")
                        b = makeBoard({{W, King, int8_t(K)},
                                       {B, King, int8_t(k)},
                                       {W, Pawn, int8_t(P)},
                                       {B, Pawn, int8_t(Q)}},
                                      stm);
                    else if (name == "KPPK")
                        b = makeBoard({{W, King, int8_t(K)},
                                       {B, King, int8_t(k)},
                                       {W, Pawn, int8_t(P)},
                                       {W, Pawn, int8_t(Q)}},
                                      stm);
                    else
                        b = makeBoard({{W, King, int8_t(K)},
                                       {B, King, int8_t(k)},
                                       {W, Pawn, int8_t(P)},
                                       {B, Pawn, int8_t(Q)},
                                       {W, Pawn, int8_t(Q + 8)}},
                                      stm);
                    if (!legal(b)) return;
                    bool toMove = stm == White;
                    if (name == "KPKP")
                        out.set(kpkpIndex(K, k, P, Q, toMove),
                                whiteResult(registry, b, false) == Win);
                    else if (name == "KPPK")
                        out.set(kppkIndex(K, k, P, Q, toMove),
                                whiteResult(registry, b, false) != Win);
                    else
                        out.set(kppkpIndex(K, k, P, Q, toMove),
                                whiteResult(registry, b, true) != Win);
                });
            }
        return out;
    }
    if (name == "KPNK" || name == "KPBK") {
        LogicalBits out(KpxkBits);
        int8_t type = name == "KPNK" ? Knight : Bishop;
        for (int P = 8; P < 56; ++P)
            for (int X = 0; X < 64; ++X) {
                if (X == P) continue;
                forKings([&](int K, int k, int stm) {
                    Board b = makeBoard({{W, King, int8_t(K)},
                                         {B, King, int8_t(k)},
                                         {W, Pawn, int8_t(P)},
                                         {W, type, int8_t(X)}},
                                        stm);
                    if (!legal(b)) return;
                    out.set(kpxkIndex(K, k, P, X, stm == White),
                            whiteResult(registry, b, false) != Win);
                });
            }
        return out;
    }
    if (name == "KPKQ" || name == "KPKR") {
        bool queen = name == "KPKQ";
        LogicalBits out(queen ? KpkqBits : KpkrBits);
        for (int P = 8; P < 56; ++P)
            for (int X = 0; X < 64; ++X) {
                if (X == P) continue;
                forKings([&](int K, int k, int stm) {
                    bool toMove = stm == White;
                    int32_t idx =
                        queen ? kpkqIndex(K, k, P, X, toMove) : kpkrIndex(K, k, P, X, toMove);
                    if (idx < 0) return;
                    Board b = makeBoard({{W, King, int8_t(K)},
                                         {B, King, int8_t(k)},
                                         {W, Pawn, int8_t(P)},
                                         {B, int8_t(queen ? Queen : Rook), int8_t(X)}},
                                        stm);
                    if (!legal(b)) return;
                    out.set(idx, whiteResult(registry, b, false) != Loss);
                });
            }
        return out;
    }
    throw std::runtime_error("unknown bitbase " + name);
}

namespace {

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> encodeWith(const LogicalBits& logical, size_t blockBytes) {
    size_t logicalBytes = logical.bits.size();
    size_t blockCount = logicalBytes / blockBytes;
    std::map<std::string, uint16_t> stored; // block bytes -> stored block
    std::vector<std::string> order;
    std::vector<uint16_t> index(blockCount);
    for (size_t blk = 0; blk < blockCount; ++blk) {
        size_t start = blk * blockBytes;
        // When every used bit of the block agrees, the free bits follow them: the block then
        // matches every other uniform block of that value.
        bool anyOne = false, anyZero = false;
        for (size_t i = 0; i < blockBytes; ++i) {
            uint8_t u = logical.used[start + i], b = logical.bits[start + i];
            anyOne |= (b & u) != 0;
            anyZero |= (~b & u) != 0;
        }
        uint8_t fillAll = anyOne && !anyZero ? 0xff : 0;
        std::string block(blockBytes, '\0');
        for (size_t i = 0; i < blockBytes; ++i) {
            uint8_t u = logical.used[start + i], b = logical.bits[start + i];
            block[i] = char((b & u) | (fillAll & ~u));
        }
        auto it = stored.find(block);
        if (it == stored.end()) {
            if (order.size() >= 65536) return {};
            it = stored.emplace(block, uint16_t(order.size())).first;
            order.push_back(block);
        }
        index[blk] = it->second;
    }
    std::vector<uint8_t> out;
    putU32(out, uint32_t(logicalBytes));
    putU32(out, uint32_t(order.size()));
    putU32(out, uint32_t(blockBytes));
    for (uint16_t e : index) {
        out.push_back(uint8_t(e));
        out.push_back(uint8_t(e >> 8));
    }
    for (const auto& block : order) out.insert(out.end(), block.begin(), block.end());
    return out;
}

} // namespace

std::vector<uint8_t> EncodeBitbase(const LogicalBits& logical) {
    std::vector<uint8_t> best;
    for (size_t blockBytes = 8; blockBytes <= 4096; blockBytes *= 2) {
        if (logical.bits.size() % blockBytes != 0) continue;
        std::vector<uint8_t> candidate = encodeWith(logical, blockBytes);
        if (!candidate.empty() && (best.empty() || candidate.size() < best.size()))
            best = std::move(candidate);
    }
    if (best.empty()) throw std::runtime_error("no block size fits the block index");
    return best;
}

} // namespace corvid::bitbase_gen
