#pragma once
// What the tests look at of a loaded window: the control of one of its units.

#include "shell/live_window.h"

#include <windows.h>

namespace korvanta {

// The window handle of a unit (the window's own for unit 0; null for function units and
// units of windows that are not loaded).
inline HWND UnitWindow(UnitRef ref) {
    auto window = FindLiveWindow(ref.window);
    if (!window || ref.unit < 0 || ref.unit >= static_cast<int32_t>(window->units.size()))
        return nullptr;
    return ref.unit == 0 ? window->hwnd : window->units[ref.unit]->hwnd;
}

} // namespace korvanta
