#pragma once
// Creating the child units of a program window.

#include "shell/live_window.h"

namespace korvanta {

// Creates the unit's control, hidden, with its styles, font, colours and content; a function
// unit gets its control id and no window. False when the control cannot be created.
bool CreateUnitControl(LiveWindow &window, LiveUnit &unit, int32_t control_id);

} // namespace korvanta
