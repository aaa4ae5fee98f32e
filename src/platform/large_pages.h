// Memory for the large tables the search probes at random (the transposition table): on huge
// pages where the system offers them, so that a probe seldom misses the address translation
// cache as well as the data cache.
#pragma once

#include <cstddef>

namespace corvid {

// Zero-filled memory of at least the given size, released with std::free; nullptr on failure.
// Blocks of a huge page or more are aligned to it and offered to the system for huge pages.
void* allocateLargeZeroed(size_t bytes);

} // namespace corvid
