#include "tests/support/process.h"

#include "tests/support/files.h"
#include "tests/support/windows.h"

namespace korvanta::test {

ChildProcess::~ChildProcess() {
    if (Running()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool ChildProcess::Start(const std::string &command_line, const char *current_directory,
                         UINT code_page) {
    // CreateProcessW may write into the command line it is given.
    std::wstring command = Widen(command_line, code_page);
    const std::wstring directory = current_directory ? Widen(current_directory, CP_ACP) : L"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        current_directory ? directory.c_str() : nullptr, &startup, &info))
        return false;
    FileHandle thread(info.hThread);
    process_ = FileHandle(info.hProcess);
    pid_ = info.dwProcessId;
    return true;
}

bool ChildProcess::Running() const {
    return process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD timeout_ms, DWORD &exit_code) const {
    return process_.valid() && WaitForSingleObject(process_.get(), timeout_ms) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(process_.get(), &exit_code);
}

bool ChildProcess::Close(HWND window, DWORD timeout_ms, DWORD &exit_code) const {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForExit(timeout_ms, exit_code);
}

void ChildProcess::Release() {
    process_.Close();
    pid_ = 0;
}

HWND ChildProcess::WaitForWindow(const char *class_name, const wchar_t *caption, bool visible,
                                 DWORD timeout_ms) const {
    HWND found = nullptr;
    PollUntil(*this, timeout_ms, 50,
              [&] { return (found = FindProcessWindow(pid_, class_name, caption, visible)); });
    return found;
}

} // namespace korvanta::test
