#pragma once
// The programs the driver starts and the windows it watches and presses, from outside the
// process, as a user's input would arrive.

#include "host/handles.h"

#include <windows.h>

#include <string>

namespace korvanta::bench {

// One started program, owned until it has ended: a child still running when its owner goes
// away is terminated, so a failed round leaves nothing behind in the prefix.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    ~ChildProcess();

    bool Start(const std::string &exe);
    DWORD pid() const { return pid_; }
    HANDLE handle() const { return process_.get(); }
    bool Running() const;
    // WM_CLOSE to the window, then waits for the process to end and gives its exit code.
    bool Close(HWND window, DWORD timeout_ms, DWORD &exit_code);

private:
    FileHandle process_;
    DWORD pid_ = 0;
};

// Calls probe every poll_ms milliseconds until it holds; false when the child ends first or
// timeout_ms pass.
template <typename Probe>
bool PollUntil(const ChildProcess &child, DWORD timeout_ms, DWORD poll_ms, Probe probe) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        if (probe())
            return true;
        if (!child.Running() || GetTickCount64() > deadline)
            return false;
        Sleep(poll_ms);
    }
}

// The process's message box once it is visible, else null.
HWND FindVisibleBox(DWORD pid);
// The text a message box shows, read without waiting on a busy owner.
std::string BoxText(HWND box);

} // namespace korvanta::bench
