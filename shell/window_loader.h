#pragma once
// Building a program window from its description.

#include <cstdint>

namespace korvanta {

// Creates the window and its units hidden, raises creation-complete, then shows the window.
// False, before any event, when there is no such description, the window is open already, or
// the window or one of its units cannot be created. True once the load has run (the window
// may have closed itself since).
bool LoadWindow(int32_t window_id);

} // namespace korvanta
