// Exact win/draw/loss tables for small material, solved by retrograde analysis.
//
// A table covers one material: the two kings and up to three more men. Its states are every
// placement of the men with either side to move; values are from the side to move's view. Moves
// that capture or promote leave the table (a conversion) and are valued from the table of the
// resulting material, which is solved first. The fifty-move rule is not modelled; en passant is
// (a table state never has an en passant right, but a double step that allows one is valued
// with the capture).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace corvid::bitbase_gen {

enum Value : uint8_t { Draw = 0, Win = 1, Loss = 2, Illegal = 3 };

constexpr Value Negate(Value v) { return v == Win ? Loss : v == Loss ? Win : v; }

struct Man {
    int8_t colour; // 0 White, 1 Black
    int8_t type;   // engine piece type (Pawn .. King)
    int8_t square;
};

// A position of few men: the kings first (White's, then Black's), the others in any order.
struct Board {
    Man men[6];
    int count = 0;
    int sideToMove = 0;
};

// Material of a table. `locked` marks a white pawn with a black pawn directly in front of it
// (both the first pawns of their colours in `types`): neither can ever move, so the pair keeps
// its place for as long as the table lasts and is indexed as one unit.
struct Material {
    std::vector<int8_t> white; // piece types other than the king, sorted by value descending
    std::vector<int8_t> black;
    bool locked = false;

    std::string name() const; // "KQvKP", "KPPvKP-locked"
    bool hasPawns() const;
    bool operator<(const Material& o) const {
        return std::tie(white, black, locked) < std::tie(o.white, o.black, o.locked);
    }
};

class Table;

// Every solved table, keyed by material in its canonical colour orientation.
class Registry {
public:
    // Solves (once) the table of this material and everything it converts into.
    const Table& solve(const Material& material, bool keepDepth = false);
    // The value of a legal board for its side to move, from the table of its material.
    Value value(const Board& board, bool locked);
    // Wall time spent solving, by table name, in solve order.
    const std::vector<std::pair<std::string, double>>& timings() const { return timings_; }
    bool verbose = false;

private:
    std::map<Material, std::unique_ptr<Table>> tables_;
    std::unordered_map<uint32_t, std::pair<const Table*, bool>> lookup_;
    std::vector<std::pair<std::string, double>> timings_;
};

// One material's solved values.
class Table {
public:
    Table(const Material& material, Registry& registry);
    void solve(bool keepDepth);

    const Material& material() const { return material_; }
    int64_t size() const { return size_; }
    // The state index of a board of this material (canonical orientation), or -1 when the
    // board does not fit (men of other kinds, a broken locked pair).
    int64_t index(const Board& board) const;
    Value value(int64_t index) const {
        return Value((packed_[index >> 2] >> (2 * (index & 3))) & 3);
    }
    // Plies to conversion or mate of a won or lost state (kept only when asked for).
    int depth(int64_t index) const { return depth_.empty() ? -1 : depth_[index]; }
    // Decodes a state index into a board (in the table's own man order).
    bool decode(int64_t index, Board& board) const;

    // Every legal move of a board, valued for the mover; in-table moves carry their state.
    struct Successor {
        Value moverValue;   // Win, Draw, Loss when known (conversions), else Illegal
        int64_t state;      // in-table successor state or -1
        bool epSensitive;   // a double step after which the opponent may capture en passant
        Value epMoverValue; // for the mover, what the en passant capture leaves (Draw/Win/Loss)
    };
    int successors(const Board& board, Successor* out) const;

private:
    friend class Registry;
    Material material_;
    Registry& registry_;
    std::vector<Man> slots_; // colour and type of each man in index order
    int64_t size_ = 0;
    std::vector<uint8_t> packed_;
    std::vector<uint8_t> depth_;

    int predecessors(const Board& board, int64_t* out, bool* doubleStep) const;
};

// Legality helpers on boards.
bool SquareAttacked(const Board& board, int square, int byColour, uint64_t occupancy);
bool InCheck(const Board& board, int colour);
uint64_t Occupancy(const Board& board);

// The material of a board, with a flag telling whether its colours had to be swapped to reach
// the canonical orientation.
Material MaterialOf(const Board& board, bool locked, bool* swapped);
Board SwapColours(const Board& board);
// The white men of a locked material other than its locked pawn.
std::vector<int8_t> LockedExtras(const Material& material);

} // namespace corvid::bitbase_gen
