#include "app/fatal.h"

#include "app/fatal_text.h"

#include <windows.h>

namespace korvanta {
namespace {
FatalHooks hooks;
}

void InstallFatalHooks(const FatalHooks &h) {
    hooks = h;
}

void FatalError(const char *message, int32_t code) {
    if (hooks.suppress_events)
        hooks.suppress_events();
    std::string text = ComposeFatalText(message ? message : "", code);
    // No owner and not task-modal: the program's windows stay enabled while it is up.
    MessageBoxA(nullptr, text.c_str(), "错误", MB_ICONERROR);
    if (hooks.clear_exit_routine)
        hooks.clear_exit_routine();
    if (hooks.end_program)
        hooks.end_program(-1);
    ExitProcess(static_cast<UINT>(-1));
}

} // namespace korvanta
