#include "platform/large_pages.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace corvid {

namespace {

constexpr size_t HugePageBytes = size_t{2} << 20;

} // namespace

void* allocateLargeZeroed(size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes >= HugePageBytes) {
        size_t rounded = (bytes + HugePageBytes - 1) & ~(HugePageBytes - 1);
        if (void* block = std::aligned_alloc(HugePageBytes, rounded)) {
            // Only a hint: where huge pages are off the block simply stays on small pages.
            madvise(block, rounded, MADV_HUGEPAGE);
            std::memset(block, 0, rounded);
            return block;
        }
    }
#endif
    // calloc hands large blocks over as fresh zero pages.
    return std::calloc(bytes, 1);
}

void adviseHugePages(void* block, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    uintptr_t start = reinterpret_cast<uintptr_t>(block);
    uintptr_t first = (start + HugePageBytes - 1) & ~uintptr_t(HugePageBytes - 1);
    uintptr_t last = (start + bytes) & ~uintptr_t(HugePageBytes - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)block;
    (void)bytes;
#endif
}

} // namespace corvid
