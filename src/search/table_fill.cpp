#include "search/table_fill.h"

#include "search/transposition_table.h"

#include <algorithm>

namespace corvid {

int ttFillPermille(uint32_t searchAge) {
    const TranspositionTable& table = transpositionTable;
    if (!table.buckets) return 0;
    constexpr uint64_t SampleBuckets = 1000;
    uint64_t buckets = std::min<uint64_t>(SampleBuckets, uint64_t(table.mask) + 1);
    uint64_t used = 0;
    for (uint64_t b = 0; b < buckets; ++b)
        for (const TTSlot& slot : table.buckets[b].entries) {
            TTEntry entry = ttLoad(slot);
            used += entry.lock != 0 && entry.age == uint8_t(searchAge);
        }
    return int(used * 1000 / (buckets * 3));
}

} // namespace corvid
