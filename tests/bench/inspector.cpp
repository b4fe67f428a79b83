// The bench's eyes and hands inside Wine: lists windows with their controls, reads the
// message box with the kind of its icon, presses buttons and runs a program to report its full exit
// code. Texts are printed as hex of their code-page bytes, so that no console conversion touches
// them; the Python side decodes them as GBK.

#include <windows.h>

#include "tests/bench/icon_kind.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// Never blocks on a busy window: the program under test may be inside a long handler. The
// whole text, however long (a game directory may be tens of kilobytes).
std::string WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000,
                            &length)) {
        std::vector<char> buffer(length + 1);
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutA(hwnd, WM_GETTEXT, buffer.size(),
                                reinterpret_cast<LPARAM>(buffer.data()),
                                SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &copied))
            return std::string(buffer.data(), copied);
    }
    std::vector<wchar_t> wide(65536);
    int n = InternalGetWindowText(hwnd, wide.data(), static_cast<int>(wide.size()));
    std::vector<char> bytes(static_cast<size_t>(n) * 2 + 1);
    int count = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, bytes.data(),
                                    static_cast<int>(bytes.size()), nullptr, nullptr);
    return std::string(bytes.data(), count > 0 ? count : 0);
}

std::string ClassName(HWND hwnd) {
    char buffer[256];
    int n = GetClassNameA(hwnd, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

// "null" for a control that shows no icon, else the kind in quotes.
std::string IconField(HWND hwnd) {
    // A message box keeps its icon control even without an icon; what counts is its image.
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    if (ClassName(hwnd) != "Static" || (style & SS_TYPEMASK) != SS_ICON)
        return "null";
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
    if (!icon || !IsWindowVisible(hwnd))
        return "null";
    return std::string("\"") + ShownIcon(hwnd).name + "\"";
}

std::string Describe(HWND hwnd, HWND focus) {
    RECT r{}, c{};
    GetWindowRect(hwnd, &r);
    GetClientRect(hwnd, &c);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char head[512];
    std::snprintf(head, sizeof head,
                  "{\"hwnd\":%lu,\"pid\":%lu,\"id\":%ld,\"class\":\"%s\",\"text\":\"",
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hwnd)),
                  static_cast<unsigned long>(pid), static_cast<long>(GetDlgCtrlID(hwnd)),
                  ClassName(hwnd).c_str());
    char tail[512];
    std::snprintf(tail, sizeof tail,
                  "\",\"style\":%lu,\"exstyle\":%lu,\"rect\":[%ld,%ld,%ld,%ld],"
                  "\"client\":[%ld,%ld,%ld,%ld],\"enabled\":%s,\"visible\":%s,\"focus\":%s,"
                  "\"icon\":%s",
                  static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE)), r.left, r.top,
                  r.right, r.bottom, origin.x, origin.y, origin.x + c.right, origin.y + c.bottom,
                  IsWindowEnabled(hwnd) ? "true" : "false",
                  IsWindowVisible(hwnd) ? "true" : "false", hwnd == focus ? "true" : "false",
                  IconField(hwnd).c_str());
    return head + Hex(WindowText(hwnd)) + tail;
}

struct Search {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lp) {
    auto *s = reinterpret_cast<Search *>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (s->pid == 0 || pid == s->pid)
        s->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
    auto *s = reinterpret_cast<Search *>(lp);
    if (GetParent(hwnd) == reinterpret_cast<HWND>(s->pid))
        s->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    // pid slot reused for the parent handle: only direct children are listed.
    Search s{static_cast<DWORD>(reinterpret_cast<uintptr_t>(parent)), {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FocusOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(top, nullptr);
    if (GetGUIThreadInfo(thread, &info))
        return info.hwndFocus;
    return nullptr;
}

std::string StoredText(HWND hwnd) {
    wchar_t wide[512];
    char bytes[1024];
    int n = InternalGetWindowText(hwnd, wide, 512);
    int count = WideCharToMultiByte(CP_ACP, 0, wide, n, bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes, count > 0 ? count : 0);
}

// windows [pid]: the top-level windows of that process with their controls. Without a pid:
// those of every process that shows a window titled "Korvanta". Windows of other processes
// are never asked anything, so a hung program elsewhere on the display cannot stall this.
int ListWindows(DWORD pid) {
    Search s{pid, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
    std::vector<DWORD> pids;
    for (HWND top : s.found) {
        DWORD owner = 0;
        GetWindowThreadProcessId(top, &owner);
        if (pid != 0 || (IsWindowVisible(top) && StoredText(top) == "Korvanta"))
            pids.push_back(owner);
    }
    std::printf("[");
    bool first = true;
    for (HWND top : s.found) {
        DWORD owner = 0;
        GetWindowThreadProcessId(top, &owner);
        bool wanted = false;
        for (DWORD p : pids)
            wanted = wanted || p == owner;
        if (!wanted || !IsWindowVisible(top))
            continue;
        HWND focus = FocusOf(top);
        std::printf("%s%s,\"children\":[", first ? "" : ",", Describe(top, focus).c_str());
        first = false;
        bool first_child = true;
        for (HWND child : Children(top)) {
            std::printf("%s%s}", first_child ? "" : ",", Describe(child, focus).c_str());
            first_child = false;
        }
        std::printf("]}");
    }
    std::printf("]\n");
    return 0;
}

int Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool post) {
    if (!IsWindow(hwnd)) {
        std::fprintf(stderr, "no such window\n");
        return 2;
    }
    if (post)
        PostMessageA(hwnd, msg, wp, lp);
    else
        SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_NORMAL, 200, nullptr);
    return 0;
}

// run timeout_ms program [args...]: the program's full 32-bit exit code.
int Run(DWORD timeout, int argc, char **argv) {
    std::string command;
    for (int i = 0; i < argc; ++i) {
        if (i)
            command += ' ';
        command += '"';
        command += argv[i];
        command += '"';
    }
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        std::printf("{\"started\":false,\"error\":%lu}\n", GetLastError());
        return 2;
    }
    std::printf("{\"started\":true,\"pid\":%lu}\n", pi.dwProcessId);
    std::fflush(stdout);
    DWORD wait = WaitForSingleObject(pi.hProcess, timeout);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    if (wait == WAIT_TIMEOUT)
        TerminateProcess(pi.hProcess, 3);
    std::printf("{\"exited\":%s,\"exit_code\":%lu}\n", wait == WAIT_OBJECT_0 ? "true" : "false",
                code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}

// hold ms path: keeps the file open without any sharing, as a running game does.
int Hold(DWORD ms, const char *path) {
    HANDLE h =
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        std::printf("{\"held\":false,\"error\":%lu}\n", GetLastError());
        return 2;
    }
    std::printf("{\"held\":true}\n");
    std::fflush(stdout);
    Sleep(ms);
    CloseHandle(h);
    return 0;
}

// icon HWND: the kind an icon static shows and how far it is from each system icon.
int ReportIcon(HWND hwnd) {
    if (!IsWindow(hwnd)) {
        std::fprintf(stderr, "no such window\n");
        return 2;
    }
    IconMatch match = ShownIcon(hwnd);
    std::printf("{\"icon\":\"%s\",\"distance\":{", match.name);
    for (size_t i = 0; i < kIconKindCount; ++i)
        std::printf("%s\"%s\":%.1f", i ? "," : "", kIconKinds[i].name, match.distance[i]);
    std::printf("}}\n");
    return 0;
}

HWND ArgWindow(const char *text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoul(text, nullptr, 0)));
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: inspector windows [pid] | click HWND | post HWND MSG WP LP |"
                             " send HWND MSG WP LP | icon HWND | foreground HWND | hold MS PATH | "
                             "run MS PROGRAM [ARGS]\n");
        return 2;
    }
    std::string verb = argv[1];
    if (verb == "windows")
        return ListWindows(argc > 2 ? std::strtoul(argv[2], nullptr, 0) : 0);
    if (verb == "click" && argc == 3)
        return Send(ArgWindow(argv[2]), BM_CLICK, 0, 0, true);
    if ((verb == "post" || verb == "send") && argc == 6)
        return Send(ArgWindow(argv[2]), std::strtoul(argv[3], nullptr, 0),
                    std::strtoul(argv[4], nullptr, 0), std::strtol(argv[5], nullptr, 0),
                    verb == "post");
    if (verb == "icon" && argc == 3)
        return ReportIcon(ArgWindow(argv[2]));
    if (verb == "foreground" && argc == 3)
        return SetForegroundWindow(ArgWindow(argv[2])) ? 0 : 1;
    if (verb == "syscolor" && argc == 3) {
        COLORREF c = GetSysColor(std::atoi(argv[2]));
        std::printf("[%d,%d,%d]\n", GetRValue(c), GetGValue(c), GetBValue(c));
        return 0;
    }
    if (verb == "hold" && argc == 4)
        return Hold(std::strtoul(argv[2], nullptr, 0), argv[3]);
    if (verb == "run" && argc >= 4)
        return Run(std::strtoul(argv[2], nullptr, 0), argc - 3, argv + 3);
    std::fprintf(stderr, "bad arguments\n");
    return 2;
}
