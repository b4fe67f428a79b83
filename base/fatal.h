#pragma once
// The single report for unrecoverable conditions: the error box, then the end of the process
// with exit code -1. No event handler and no exit routine runs afterwards.

#include <cstdint>

namespace korvanta {

[[noreturn]] void FatalError(const char *message, int32_t code);

// What the shell does around the box: stop all events before it, end the process after it.
// Until the shell installs them, the box is followed by ExitProcess(-1) alone.
struct FatalHooks {
    void (*suppress_events)() = nullptr;
    void (*clear_exit_routine)() = nullptr;
    [[noreturn]] void (*end_program)(int32_t code) = nullptr;
};
void InstallFatalHooks(const FatalHooks &hooks);

} // namespace korvanta
