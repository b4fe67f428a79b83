#include "shell/shell.h"

#include "shell/events.h"
#include "base/fatal.h"
#include "shell/live_window.h"
#include "base/memory.h"
#include "shell/shell_logic.h"
#include "shell/message_dispatch.h"
#include "shell/window_loader.h"

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace korvanta {
namespace {

struct ShellApp {
    HANDLE heap = nullptr;
    bool ole_started = false;
    std::vector<const WindowDescription *> windows; // the window table
    void (*exit_routine)() = nullptr;
    bool loop_started = false;
    bool shutting_down = false;
    int quit_code = 0;
};

ShellApp shell;

void ClearExitRoutine() {
    shell.exit_routine = nullptr;
}

} // namespace

const WindowDescription *FindWindowDescription(int32_t window_id) {
    for (const WindowDescription *d : shell.windows) {
        if (d->id == window_id)
            return d;
    }
    return nullptr;
}

int RunProcess(int32_t (*entry)()) {
    // No system boxes of its own for drives that are not ready or files that are missing.
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    FatalHooks hooks;
    hooks.suppress_events = &RaiseEventSuppression;
    hooks.clear_exit_routine = &ClearExitRoutine;
    hooks.end_program = &EndProgram;
    InstallFatalHooks(hooks);
    entry();
    ShutdownShell(0);
    return shell.quit_code;
}

void InitShell() {
    shell.heap = GetProcessHeap();
    UseBlockHeap(shell.heap);
    if (!shell.ole_started) {
        OleInitialize(nullptr); // its result is not looked at: the program needs no OLE object
        shell.ole_started = true;
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    // The program's directory, without its trailing backslash. "C:" alone names that drive's
    // current directory, which is what a program in a drive root gets; a failure leaves the
    // inherited directory. The path stays UTF-16 from one call to the other: no code page can
    // lose a character of it, and a unit "\" is always a character of its own, so the
    // double-byte walk has nothing to do here.
    std::wstring directory(path);
    const size_t last = directory.rfind(L'\\');
    directory.resize(last == std::wstring::npos ? 0 : last);
    SetCurrentDirectoryW(directory.c_str());
    InitConstantRanges();
    shell.windows.clear();
    for (const WindowDescription *d : HeldWindowDescriptions()) {
        if (!DescriptionIsConsistent(*d))
            FatalError("载入窗口模板数据段出错!", 0);
        shell.windows.push_back(d);
    }
}

void RegisterExitRoutine(void (*routine)()) {
    shell.exit_routine = routine;
}

void RunStartWindow(int32_t window_id) {
    if (!LoadWindow(window_id))
        FatalError("载入启动窗口失败", 0);
}

namespace {

bool AnyProgramWindowOpen() {
    for (const WindowDescription *d : shell.windows) {
        std::shared_ptr<LiveWindow> w = FindLiveWindow(d->id);
        if (w && IsWindow(w->hwnd))
            return true;
    }
    return false;
}

DWORD idle_since = 0;

// One run of the idle step; true while more idle time is wanted.
bool IdleStep(int32_t count) {
    if (count == 0)
        idle_since = GetTickCount();
    if (count < 2)
        return true;
    const int32_t elapsed[] = {static_cast<int32_t>(GetTickCount() - idle_since)};
    bool more = false;
    for (const auto &w : LiveWindows()) {
        if (!w->loaded || !IsWindow(w->hwnd))
            continue;
        EventOutcome out = RaiseEvent(w->id(), 0, event::kIdle, elapsed);
        if (out.result.given && out.result.value != 0)
            more = true;
    }
    return more;
}

} // namespace

void ProgramWindowDestroyed() {
    if (shell.loop_started && !AnyProgramWindowOpen())
        PostQuitMessage(0);
}

void RunMainLoop() {
    shell.loop_started = true;
    if (!AnyProgramWindowOpen())
        return;
    IdleTracker tracker;
    bool idle_wanted = true;
    int32_t idle_count = 0;
    MSG msg;
    for (;;) {
        while (idle_wanted && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!IdleStep(idle_count++))
                idle_wanted = false;
        }
        do {
            if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
                shell.quit_code = msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
                return;
            }
            DispatchLoopMessage(msg);
            if (tracker.WantsIdle(msg.message, msg.pt.x, msg.pt.y)) {
                idle_wanted = true;
                idle_count = 0;
            }
        } while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

void ShutdownShell(int32_t) {
    // Never lowered again: no handler runs from here on.
    RaiseEventSuppression();
    if (shell.shutting_down)
        return;
    shell.shutting_down = true;
    shell.windows.clear();
    if (void (*routine)() = shell.exit_routine) {
        shell.exit_routine = nullptr;
        routine();
    }
    if (shell.ole_started) {
        shell.ole_started = false;
        OleUninitialize();
    }
}

void EndProgram(int32_t exit_code) {
    ShutdownShell(exit_code);
    ExitProcess(static_cast<UINT>(exit_code));
}

} // namespace korvanta
