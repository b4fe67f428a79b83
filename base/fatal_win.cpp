#include "base/fatal.h"

#include "base/fatal_text.h"

#include <windows.h>

namespace korvanta {
namespace {
FatalHooks hooks;
} // namespace

void InstallFatalHooks(const FatalHooks &h) {
    hooks = h;
}

void FatalError(const char *message, int32_t code) {
    if (hooks.suppress_events)
        hooks.suppress_events();
    // On the stack, composed straight into UTF-16: a failed allocation is one of the reasons to
    // be here, so the report must not need the heap (MessageBoxW's own needs are the system's).
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "the platform's wide texts are UTF-16");
    char16_t text[kFatalTextCapacity];
    ComposeFatalText(message ? message : "", code, text);
    // No owner and not task-modal: the program's windows stay enabled while it is up.
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(text), L"错误", MB_ICONERROR);
    if (hooks.clear_exit_routine)
        hooks.clear_exit_routine();
    if (hooks.end_program)
        hooks.end_program(-1);
    ExitProcess(static_cast<UINT>(-1));
}

} // namespace korvanta
