#pragma once
// Event dispatch of the program windows: the suppression counter, RaiseEvent and the record
// of the event source whose handler is running.

#include "shell/unit_record.h"

#include <cstdint>
#include <span>

namespace korvanta {

// While the counter is above 0 no handler runs. LoadWindow raises and lowers it around the
// creation of a window; FatalError and ShutdownShell raise it for good.
void RaiseEventSuppression();
void LowerEventSuppression();
bool EventsSuppressed();

struct EventOutcome {
    bool handler_ran = false;
    HandlerReturn result; // what the handler gave back, if anything
};

// Runs the handler bound to `event` of `unit` (0: the window itself) of the loaded window
// `window_id`. A window that is not loaded, a unit it does not have, or a unit type without
// events ends the program through FatalError.
//
// A button's click raised while a click handler of the same window is still running (from a
// message loop inside that handler, such as a message box) is dropped: actions never nest.
EventOutcome RaiseEvent(int32_t window_id, int32_t unit, int32_t event,
                        std::span<const int32_t> args = {});

// The window and unit whose handler is running; window 0 when none is.
UnitRef CurrentEventSource();

} // namespace korvanta
