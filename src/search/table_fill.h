// How full the transposition table is, as front ends show it.
#pragma once

#include <cstdint>

namespace corvid {

// Permille of the entries in the first thousand buckets (all of a smaller table) that hold a
// result of the search with that age: a cheap sample that tracks the whole table.
int ttFillPermille(uint32_t searchAge);

} // namespace corvid
