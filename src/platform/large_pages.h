// Memory for the large tables the search probes at random (the transposition table, the pawn
// cache, the move histories): on huge pages where the system offers them, so that a probe
// seldom misses the address translation cache as well as the data cache.
#pragma once

#include <cstddef>

namespace corvid {

// Zero-filled memory of at least the given size, released with std::free; nullptr on failure.
// Blocks of a huge page or more are aligned to it and offered to the system for huge pages.
void* allocateLargeZeroed(size_t bytes);

// Offers the whole huge pages that lie inside an existing block (a table with static storage)
// to the system; best before the block is first written. Only a hint, without any effect on
// the contents.
void adviseHugePages(void* block, size_t bytes);

} // namespace corvid
