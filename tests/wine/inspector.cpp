// The lane's eyes and hands inside Wine: lists windows with their controls, reads the
// message box with the kind of its icon, presses buttons, runs a program to report its full exit
// code and tells the lane's code page. Texts are read as UTF-16, the characters a player sees
// whatever the system's code page, and printed as hex of their UTF-8 bytes, so that no console
// conversion touches them; the Python side decodes them as UTF-8.
//
// The program under test creates and destroys its windows while it is looked at, so every call
// is checked (tests/wine/checked.h). A window that goes away while the listing reads it is left
// out of the listing, a control out of its window's children; each record is built whole before
// anything is printed, so the output is always valid JSON. Exit codes, each but 0 with one line
// on stderr:
//   0  done
//   1  foreground: the system refused
//   2  bad arguments
//   3  no such window: the HWND given is not a window to begin with
//   4  window gone: the window went away while it was read or acted on
//   5  internal error: any other call failed, e.g. "inspector: GetClientRect failed (error 5)";
//      hold and run print their line saying that they could not open or start all the same
//   6  unhandled exception: a crash, "inspector: unhandled exception 0xc0000005 at 0042c420",
//      told apart from a kill

#include <windows.h>

#include <shellapi.h>

#include "tests/wine/checked.h"
#include "tests/wine/icon_kind.h"
#include "tests/support/windows.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

// The exit codes, as the comment at the top lists them.
enum ExitCode : int {
    kDone = 0,
    kRefused,
    kBadArguments,
    kNoSuchWindow,
    kWindowGone,
    kInternalError,
    kCrashed
};

struct BadArguments {};
struct NoSuchWindow {
    HWND hwnd;
};

// A number of the command line, in C notation (0x for hex; a minus counts back from the top).
unsigned long Number(const char *text) {
    char *end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &end, 0);
    if (end == text || *end != '\0' || errno == ERANGE)
        throw BadArguments{};
    return value;
}

unsigned long HandleNumber(HWND hwnd) {
    return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hwnd));
}

// The window named on the command line, which has to be one to begin with.
HWND Target(const char *text) {
    const HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(Number(text)));
    if (!IsWindow(hwnd))
        throw NoSuchWindow{hwnd};
    return hwnd;
}

std::string Hex(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// For calls whose 0 is a valid answer too (a style, a control id, an empty text): only the error
// they leave tells a failure.
template <typename Call> auto ZeroAllowed(const char *name, HWND hwnd, Call call) {
    SetLastError(ERROR_SUCCESS);
    const auto value = call();
    if (value == 0 && GetLastError() != ERROR_SUCCESS)
        Fail(name, hwnd);
    return value;
}

LONG WindowLong(HWND hwnd, int index) {
    return ZeroAllowed("GetWindowLongA", hwnd, [&] { return GetWindowLongA(hwnd, index); });
}

// A message to a window of the program under test, which may be inside a long handler, or to
// any other window of the lane, which may never answer: never waits long. This is no verdict:
// a text unanswered is read as the system stores it, and the driver looks again. Empty when the
// window does not answer in time, or its thread is ending (which leaves no error).
std::optional<DWORD_PTR> Ask(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                             UINT flags = SMTO_ABORTIFHUNG | SMTO_BLOCK, UINT ms = 2000) {
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutW(hwnd, msg, wp, lp, flags, ms, &result))
        return result;
    const DWORD error = GetLastError();
    if (error != ERROR_TIMEOUT && error != ERROR_SUCCESS)
        Fail("SendMessageTimeoutW", hwnd);
    if (!IsWindow(hwnd))
        throw WindowGone{hwnd};
    return std::nullopt;
}

// The text as the system keeps it, without asking the window.
std::wstring StoredText(HWND hwnd) {
    std::wstring text(65536, L'\0');
    text.resize(ZeroAllowed("InternalGetWindowText", hwnd, [&] {
        return InternalGetWindowText(hwnd, text.data(), static_cast<int>(text.size()));
    }));
    return text;
}

// The whole text, however long (a game directory may be tens of kilobytes); the stored one
// when the window does not answer. Asked for in UTF-16, so that the system converts what an
// ANSI window holds with its own code page, as it does for the screen.
std::wstring WindowText(HWND hwnd) {
    if (const auto length = Ask(hwnd, WM_GETTEXTLENGTH, 0, 0)) {
        std::wstring text(*length, L'\0');
        // The size given counts the terminating null, for which a string always has room.
        if (const auto copied =
                Ask(hwnd, WM_GETTEXT, text.size() + 1, reinterpret_cast<LPARAM>(text.data()))) {
            text.resize(std::min<size_t>(*copied, text.size()));
            return text;
        }
    }
    return StoredText(hwnd);
}

std::string ClassName(HWND hwnd) {
    char buffer[256];
    return std::string(buffer,
                       Checked(GetClassNameA(hwnd, buffer, sizeof buffer), "GetClassNameA", hwnd));
}

// "null" for a control that shows no icon, else the kind in quotes.
std::string IconField(HWND hwnd, const std::string &class_name, LONG style, bool visible) {
    if (class_name != "Static" || (style & SS_TYPEMASK) != SS_ICON || !visible)
        return "null";
    // A message box keeps its icon control even without an icon; what counts is its image.
    const auto icon = Ask(hwnd, STM_GETICON, 0, 0);
    if (!icon || !*icon)
        return "null";
    return std::string("\"") + ShownIcon(hwnd).name + "\"";
}

// A window's record without its closing brace: a top-level window's children follow.
std::string Describe(HWND hwnd, HWND focus) {
    RECT r{}, c{};
    Checked(GetWindowRect(hwnd, &r), "GetWindowRect", hwnd);
    Checked(GetClientRect(hwnd, &c), "GetClientRect", hwnd);
    POINT origin{0, 0};
    Checked(ClientToScreen(hwnd, &origin), "ClientToScreen", hwnd);
    DWORD pid = 0;
    Checked(GetWindowThreadProcessId(hwnd, &pid), "GetWindowThreadProcessId", hwnd);
    const int id = ZeroAllowed("GetDlgCtrlID", hwnd, [&] { return GetDlgCtrlID(hwnd); });
    const std::string class_name = ClassName(hwnd);
    const LONG style = WindowLong(hwnd, GWL_STYLE);
    const LONG exstyle = WindowLong(hwnd, GWL_EXSTYLE);
    const bool visible = IsWindowVisible(hwnd);
    const std::string text = Hex(korvanta::test::Utf8(WindowText(hwnd)));
    const std::string icon = IconField(hwnd, class_name, style, visible);
    char head[512];
    std::snprintf(head, sizeof head,
                  "{\"hwnd\":%lu,\"pid\":%lu,\"id\":%ld,\"class\":\"%s\",\"text\":\"",
                  HandleNumber(hwnd), static_cast<unsigned long>(pid), static_cast<long>(id),
                  class_name.c_str());
    char tail[512];
    std::snprintf(tail, sizeof tail,
                  "\",\"style\":%lu,\"exstyle\":%lu,\"rect\":[%ld,%ld,%ld,%ld],"
                  "\"client\":[%ld,%ld,%ld,%ld],\"enabled\":%s,\"visible\":%s,\"focus\":%s,"
                  "\"icon\":%s",
                  static_cast<unsigned long>(style), static_cast<unsigned long>(exstyle), r.left,
                  r.top, r.right, r.bottom, origin.x, origin.y, origin.x + c.right,
                  origin.y + c.bottom, IsWindowEnabled(hwnd) ? "true" : "false",
                  visible ? "true" : "false", hwnd == focus ? "true" : "false", icon.c_str());
    // What was read of a window that went away meanwhile may be wrong (hidden, disabled).
    if (!IsWindow(hwnd))
        throw WindowGone{hwnd};
    return head + text + tail;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(hwnd);
    return TRUE;
}

// The windows inside a window, its direct children and theirs.
std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    // FALSE alone says nothing: a window without children gives it too.
    if (!EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&all)) && !IsWindow(parent))
        throw WindowGone{parent};
    return all;
}

HWND FocusOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread =
        Checked(GetWindowThreadProcessId(top, nullptr), "GetWindowThreadProcessId", top);
    Checked(GetGUIThreadInfo(thread, &info), "GetGUIThreadInfo", top);
    return info.hwndFocus;
}

// A top-level window's record with its controls, which are its direct children.
std::string TopRecord(HWND top) {
    const HWND focus = FocusOf(top);
    std::string record = Describe(top, focus) + ",\"children\":[";
    const size_t empty = record.size();
    for (HWND child : Descendants(top)) {
        try {
            if (Checked(GetParent(child), "GetParent", child) != top)
                continue;
            const std::string described = Describe(child, focus);
            if (record.size() > empty)
                record += ',';
            record += described + "}";
        } catch (const WindowGone &) {
            // Left out of its window's children.
        }
    }
    // Its controls may have gone with it while they were read.
    if (!IsWindow(top))
        throw WindowGone{top};
    return record + "]}";
}

struct TopWindow {
    HWND hwnd;
    DWORD pid;
};

// The top-level windows of every process, each with its process.
std::vector<TopWindow> TopWindows() {
    std::vector<HWND> all;
    Checked(EnumWindows(Collect, reinterpret_cast<LPARAM>(&all)), "EnumWindows");
    std::vector<TopWindow> tops;
    for (HWND hwnd : all) {
        try {
            DWORD pid = 0;
            Checked(GetWindowThreadProcessId(hwnd, &pid), "GetWindowThreadProcessId", hwnd);
            tops.push_back({hwnd, pid});
        } catch (const WindowGone &) {
            // Left out.
        }
    }
    return tops;
}

// windows [pid]: the top-level windows of that process with their controls. Without a pid:
// those of every process that shows a window titled "Korvanta". Windows of other processes
// are never asked anything, so a hung program elsewhere on the display cannot stall this.
// A window that goes away meanwhile is left out.
int ListWindows(DWORD pid) {
    const std::vector<TopWindow> tops = TopWindows();
    // No window belongs to process 0.
    std::vector<DWORD> pids{pid};
    for (const TopWindow &top : tops) {
        try {
            if (pid == 0 && IsWindowVisible(top.hwnd) && StoredText(top.hwnd) == L"Korvanta")
                pids.push_back(top.pid);
        } catch (const WindowGone &) {
            // Its process may still show another.
        }
    }
    std::string out = "[";
    for (const TopWindow &top : tops) {
        if (std::find(pids.begin(), pids.end(), top.pid) == pids.end() ||
            !IsWindowVisible(top.hwnd))
            continue;
        try {
            const std::string record = TopRecord(top.hwnd);
            if (out.size() > 1)
                out += ',';
            out += record;
        } catch (const WindowGone &) {
            // Left out, with its controls.
        }
    }
    std::fputs((out + "]\n").c_str(), stdout);
    return kDone;
}

// click, post and send: a send that takes longer than a moment (a handler opening a modal
// box) has delivered its message all the same.
int Deliver(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool post) {
    if (post)
        Checked(PostMessageA(hwnd, msg, wp, lp), "PostMessageA", hwnd);
    else
        Ask(hwnd, msg, wp, lp, SMTO_NORMAL, 200);
    return kDone;
}

// The arguments from `first` on, in UTF-16 as the command line carries them: a path of any
// characters reaches the call whole, whatever the code page.
std::vector<std::wstring> WideArguments(int first) {
    int count = 0;
    LPWSTR *arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        Fail("CommandLineToArgvW");
    std::vector<std::wstring> wide(arguments + std::min(first, count), arguments + count);
    LocalFree(arguments);
    return wide;
}

// run timeout_ms program [args...]: the program's full 32-bit exit code.
int Run(DWORD timeout) {
    std::wstring command;
    for (const std::wstring &argument : WideArguments(3)) {
        if (!command.empty())
            command += L' ';
        command += L'"' + argument + L'"';
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        const DWORD error = GetLastError();
        std::printf("{\"started\":false,\"error\":%lu}\n", error);
        throw CallFailed{"CreateProcessW", error};
    }
    std::printf("{\"started\":true,\"pid\":%lu}\n", pi.dwProcessId);
    std::fflush(stdout);
    const DWORD wait = WaitForSingleObject(pi.hProcess, timeout);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_TIMEOUT)
        Fail("WaitForSingleObject");
    DWORD code = 0;
    Checked(GetExitCodeProcess(pi.hProcess, &code), "GetExitCodeProcess");
    // One that ends by itself just then can no longer be ended, which is no failure.
    if (wait == WAIT_TIMEOUT && !TerminateProcess(pi.hProcess, 3) &&
        WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
        Fail("TerminateProcess");
    std::printf("{\"exited\":%s,\"exit_code\":%lu}\n", wait == WAIT_OBJECT_0 ? "true" : "false",
                code);
    Checked(CloseHandle(pi.hThread), "CloseHandle");
    Checked(CloseHandle(pi.hProcess), "CloseHandle");
    return kDone;
}

// hold ms path: keeps the file open without any sharing, as a running game does.
int Hold(DWORD ms) {
    const std::wstring path = WideArguments(3).at(0);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        std::printf("{\"held\":false,\"error\":%lu}\n", error);
        throw CallFailed{"CreateFileW", error};
    }
    std::printf("{\"held\":true}\n");
    std::fflush(stdout);
    Sleep(ms);
    Checked(CloseHandle(h), "CloseHandle");
    return kDone;
}

// icon HWND: the kind an icon static shows and how far it is from each system icon.
int ReportIcon(HWND hwnd) {
    const IconMatch match = ShownIcon(hwnd);
    std::printf("{\"icon\":\"%s\",\"distance\":{", match.name);
    for (size_t i = 0; i < kIconKindCount; ++i)
        std::printf("%s\"%s\":%.1f", i ? "," : "", kIconKinds[i].name, match.distance[i]);
    std::printf("}}\n");
    return kDone;
}

int Foreground(HWND hwnd) {
    if (SetForegroundWindow(hwnd))
        return kDone;
    if (!IsWindow(hwnd))
        throw WindowGone{hwnd};
    std::fprintf(stderr, "inspector: SetForegroundWindow refused\n");
    return kRefused;
}

// The system's ANSI code page, which a lane sets through its locale.
int CodePage() {
    std::printf("{\"acp\":%u}\n", GetACP());
    return kDone;
}

// GetSysColor cannot fail: an index it does not know gives black.
int SystemColour(int index) {
    const COLORREF c = GetSysColor(index);
    std::printf("[%d,%d,%d]\n", GetRValue(c), GetGValue(c), GetBValue(c));
    return kDone;
}

int Dispatch(int argc, char **argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "windows" && argc <= 3)
        return ListWindows(argc == 3 ? Number(argv[2]) : 0);
    if (verb == "click" && argc == 3)
        return Deliver(Target(argv[2]), BM_CLICK, 0, 0, true);
    if ((verb == "post" || verb == "send") && argc == 6) {
        const UINT msg = Number(argv[3]);
        const WPARAM wp = Number(argv[4]);
        const LPARAM lp = static_cast<long>(Number(argv[5]));
        return Deliver(Target(argv[2]), msg, wp, lp, verb == "post");
    }
    if (verb == "icon" && argc == 3)
        return ReportIcon(Target(argv[2]));
    if (verb == "foreground" && argc == 3)
        return Foreground(Target(argv[2]));
    if (verb == "codepage" && argc == 2)
        return CodePage();
    if (verb == "syscolor" && argc == 3)
        return SystemColour(static_cast<int>(Number(argv[2])));
    if (verb == "hold" && argc == 4)
        return Hold(Number(argv[2]));
    if (verb == "run" && argc >= 4)
        return Run(Number(argv[2]));
    throw BadArguments{};
}

// A crash ends the program with a code of its own and a line, so that it is told from a kill.
// Nothing is cleaned up in a broken process.
LONG WINAPI Crashed(EXCEPTION_POINTERS *e) {
    std::fflush(stdout);
    std::fprintf(stderr, "inspector: unhandled exception 0x%08lx at %p\n",
                 e->ExceptionRecord->ExceptionCode, e->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), kCrashed);
    // Only if even that failed: the system ends the process with the exception's code.
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int main(int argc, char **argv) {
    SetUnhandledExceptionFilter(Crashed);
    int code = kDone;
    try {
        code = Dispatch(argc, argv);
    } catch (const BadArguments &) {
        std::fprintf(
            stderr, "usage: inspector windows [pid] | click HWND | post HWND MSG WP LP |"
                    " send HWND MSG WP LP | icon HWND | foreground HWND | codepage | syscolor INDEX"
                    " | hold MS PATH | run MS PROGRAM [ARGS]\n");
        code = kBadArguments;
    } catch (const NoSuchWindow &e) {
        std::fprintf(stderr, "inspector: no such window %lu\n", HandleNumber(e.hwnd));
        code = kNoSuchWindow;
    } catch (const WindowGone &e) {
        std::fprintf(stderr, "inspector: window %lu went away\n", HandleNumber(e.hwnd));
        code = kWindowGone;
    } catch (const CallFailed &e) {
        std::fprintf(stderr, "inspector: %s failed (error %lu)\n", e.call, e.error);
        code = kInternalError;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "inspector: %s\n", e.what());
        code = kInternalError;
    }
    if (std::fflush(stdout) != 0 && code == kDone) {
        std::fprintf(stderr, "inspector: writing the output failed\n");
        code = kInternalError;
    }
    return code;
}
