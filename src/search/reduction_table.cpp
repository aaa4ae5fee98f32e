#include "search/reduction_table.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace corvid {

uint8_t ReductionTable[ReductionDepths][ReductionMoves];

void buildReductionTable() {
    // The same table every time: the logarithms are worked out once per process.
    static std::once_flag once;
    std::call_once(once, [] {
        for (int d = 0; d < ReductionDepths; ++d) {
            for (int n = 0; n < ReductionMoves; ++n) {
                if (d == 0 || n <= 1) {
                    ReductionTable[d][n] = 0;
                    continue;
                }
                int f = std::clamp(int(0.75 * (n - 1)), 1, 40);
                ReductionTable[d][n] =
                    uint8_t(1 + int(0.5 * std::log(double(d)) * std::log(double(f))));
            }
        }
    });
}

} // namespace corvid
