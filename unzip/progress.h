#pragma once
// The percentage a progress report carries.

#include <cstdint>

namespace korvanta {

// current / total * 100: the division first, then the multiplication, each rounded to a
// double, then truncated toward zero. 0 when total is 0.
int32_t ProgressPercent(uint32_t current, uint32_t total);

} // namespace korvanta
