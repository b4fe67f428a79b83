#pragma once
// The programs the tests and the benchmark start, owned until they have ended.

#include "host/handles.h"

#include <windows.h>

#include <string>

namespace korvanta::test {

// One started program: a child still running when its owner goes away is terminated, so a
// failed test or round leaves nothing behind in the prefix.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    ~ChildProcess();

    // Starts a command line whose first word names the program (quoted where it has spaces),
    // in `current_directory` when given. The command line is in `code_page`: the system's own
    // for Windows paths, UTF-8 for a Unix command, whose paths are the Unix side's bytes.
    bool Start(const std::string &command_line, const char *current_directory = nullptr,
               UINT code_page = CP_ACP);
    DWORD pid() const { return pid_; }
    HANDLE handle() const { return process_.get(); }
    bool Running() const;
    // Waits for the end; false when timeout_ms pass first.
    bool WaitForExit(DWORD timeout_ms, DWORD &exit_code) const;
    // WM_CLOSE to the window, then waits for the end.
    bool Close(HWND window, DWORD timeout_ms, DWORD &exit_code) const;
    // Lets the program run on by itself: it is no longer owned, nor ended. Wine hands out no
    // waitable handle for a Unix process, which its starter therefore cannot watch.
    void Release();
    // The child's top-level window of the class with the caption (null: any), waited for;
    // `visible` asks for one that is shown. Null when the child ends or timeout_ms pass first.
    HWND WaitForWindow(const char *class_name, const wchar_t *caption, bool visible,
                       DWORD timeout_ms) const;

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

} // namespace korvanta::test
