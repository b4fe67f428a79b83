#include "unzip/progress.h"

namespace korvanta {

int32_t ProgressPercent(uint32_t current, uint32_t total) {
    if (total == 0)
        return 0;
    // The 32-bit build computes on x87 registers with a wider mantissa: 29 / 100 * 100 would
    // come out as 29 there and 28 in double. Storing each step rounds it to a double, so
    // both builds agree.
    volatile double fraction = static_cast<double>(current) / static_cast<double>(total);
    volatile double percent = fraction * 100.0;
    return static_cast<int32_t>(percent);
}

} // namespace korvanta
