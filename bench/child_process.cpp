#include "bench/child_process.h"

#include "tests/support/windows.h"

namespace korvanta::bench {

ChildProcess::~ChildProcess() {
    if (Running()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool ChildProcess::Start(const std::string &exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command_line = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    FileHandle thread(info.hThread);
    process_ = FileHandle(info.hProcess);
    pid_ = info.dwProcessId;
    return true;
}

bool ChildProcess::Running() const {
    return process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool ChildProcess::Close(HWND window, DWORD timeout_ms, DWORD &exit_code) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), timeout_ms) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(process_.get(), &exit_code) != FALSE;
}

HWND FindVisibleBox(DWORD pid) {
    return test::FindProcessWindow(pid, "#32770", nullptr, true);
}

std::string BoxText(HWND box) {
    for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
         child = FindWindowExA(box, child, "Static", nullptr)) {
        char text[512];
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                                 SMTO_ABORTIFHUNG, 2000, &copied) ||
            copied == 0)
            continue; // the icon's static has no text
        return std::string(text, copied);
    }
    return {};
}

} // namespace korvanta::bench
