#pragma once
// The keyboard of a program window on the platform: the unit snapshot for the rules of
// keyboard_logic.h, the key pre-translation and the focus on activation.

#include "shell/keyboard_logic.h"
#include "shell/live_window.h"

#include <windows.h>

#include <vector>

namespace korvanta {

// The units of a window as the keyboard rules see them now.
std::vector<UnitState> SnapshotUnits(const LiveWindow &window);

// Inspects a key message for `window` before the focused control sees it; true: consumed.
bool PreTranslateKey(LiveWindow &window, const MSG &msg);

// The window got the keyboard focus: its got-focus event, then the focus goes on to the
// remembered unit or the first unit of the Tab order.
void FocusOnActivation(LiveWindow &window);

} // namespace korvanta
