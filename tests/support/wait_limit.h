#pragma once
// How long a test waits for one thing (a window, a box, an answer to a message, a child's
// end, one extraction) before it calls that a hang and names it: the build's
// KORVANTA_WAIT_LIMIT, set with every other limit in cmake/HangLimits.cmake.

namespace korvanta::test {

inline constexpr unsigned long kWaitLimitMs = KORVANTA_WAIT_LIMIT * 1000UL;

} // namespace korvanta::test
