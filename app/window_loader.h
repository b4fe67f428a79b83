#pragma once
// Building a program window from its description.

#include <cstdint>

namespace korvanta {

// Creates the window and its units hidden, raises creation-complete, then shows the window.
// A description that is missing or a window or unit that cannot be created ends the program
// through FatalError. True once the load has run (the window may have closed itself since).
bool LoadWindow(int32_t window_id);

} // namespace korvanta
