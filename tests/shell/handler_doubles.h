#pragma once
// Recording doubles of the program's three handlers for the window tests: each counts its
// calls and runs what the test hooked in.

#include <functional>

namespace korvanta::doubles {

struct HandlerLog {
    int staging = 0;
    int replace = 0;
    int restore = 0;
};
extern HandlerLog handler_log;
extern std::function<void()> on_staging;
extern std::function<void()> on_replace;
extern std::function<void()> on_restore;

void ResetHandlers();

} // namespace korvanta::doubles
