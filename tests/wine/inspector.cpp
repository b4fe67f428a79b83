// The lane's eyes and hands inside Wine: lists windows with their controls, reads the
// message box with the kind of its icon, presses buttons, tells whether the windows are
// painted, runs a program to report its full exit code and tells the lane's code page. Run as
// "inspector serve" it stays up and takes one call a line from its input, so that a test that
// looks many times starts one process, not one a look. Texts are read as UTF-16, the characters
// a player sees whatever the system's code page, and printed as hex of their UTF-8 bytes, so
// that no console conversion touches them; the Python side decodes them as UTF-8.
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
//
// serve: each line read is one call, its words as on the command line (hold and run are
// refused: they last, and their paths may hold spaces). Its output, then one line of the
// record separator 0x1E, the exit code, a space and the line the call would have put on stderr
// (empty for 0), so that the reader knows where the answer ends. The end of the input ends it.

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
#include <stdexcept>
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
struct ForegroundRefused {};

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

// The visible top-level windows of process pid; without a pid, those of every process that
// shows a window titled "Korvanta". Windows of other processes are never asked anything, so a
// hung program elsewhere on the display cannot stall this.
std::vector<HWND> ShownTops(DWORD pid) {
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
    std::vector<HWND> shown;
    for (const TopWindow &top : tops)
        if (std::find(pids.begin(), pids.end(), top.pid) != pids.end() &&
            IsWindowVisible(top.hwnd))
            shown.push_back(top.hwnd);
    return shown;
}

// windows [pid]: those windows with their controls. A window that goes away meanwhile is
// left out.
int ListWindows(DWORD pid) {
    std::string out = "[";
    for (HWND top : ShownTops(pid)) {
        try {
            const std::string record = TopRecord(top);
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

// painted: whether those windows and every window inside them have been painted since they
// last changed, so that a screenshot shows what they hold. A window that goes away meanwhile
// has nothing left to paint.
int Painted() {
    bool painted = true;
    for (HWND top : ShownTops(0)) {
        std::vector<HWND> all{top};
        try {
            const std::vector<HWND> inside = Descendants(top);
            all.insert(all.end(), inside.begin(), inside.end());
        } catch (const WindowGone &) {
            continue;
        }
        for (HWND hwnd : all)
            if (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE))
                painted = false;
    }
    std::printf("%s\n", painted ? "true" : "false");
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
    throw ForegroundRefused{};
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

using Words = std::vector<std::string>;

// One call: the verb and its arguments. Only the command line may ask for hold and run.
int Dispatch(const Words &words, bool command_line) {
    const size_t n = words.size();
    const std::string verb = n > 0 ? words[0] : "";
    if (verb == "windows" && n <= 2)
        return ListWindows(n == 2 ? Number(words[1].c_str()) : 0);
    if (verb == "click" && n == 2)
        return Deliver(Target(words[1].c_str()), BM_CLICK, 0, 0, true);
    if ((verb == "post" || verb == "send") && n == 5) {
        const UINT msg = Number(words[2].c_str());
        const WPARAM wp = Number(words[3].c_str());
        const LPARAM lp = static_cast<long>(Number(words[4].c_str()));
        return Deliver(Target(words[1].c_str()), msg, wp, lp, verb == "post");
    }
    if (verb == "icon" && n == 2)
        return ReportIcon(Target(words[1].c_str()));
    if (verb == "foreground" && n == 2)
        return Foreground(Target(words[1].c_str()));
    if (verb == "codepage" && n == 1)
        return CodePage();
    if (verb == "painted" && n == 1)
        return Painted();
    if (verb == "syscolor" && n == 2)
        return SystemColour(static_cast<int>(Number(words[1].c_str())));
    if (verb == "hold" && n == 3 && command_line)
        return Hold(Number(words[1].c_str()));
    if (verb == "run" && n >= 3 && command_line)
        return Run(Number(words[1].c_str()));
    throw BadArguments{};
}

struct Outcome {
    int code;
    std::string said; // the line for stderr, without its end; empty for kDone
};

// A failure's line with the one number it names.
std::string Said(const char *format, unsigned long number) {
    char line[256];
    std::snprintf(line, sizeof line, format, number);
    return line;
}

// A call's exit code and what it says of a failure.
Outcome Call(const Words &words, bool command_line) {
    try {
        return {Dispatch(words, command_line), ""};
    } catch (const BadArguments &) {
        return {kBadArguments,
                "usage: inspector windows [pid] | click HWND | post HWND MSG WP LP |"
                " send HWND MSG WP LP | icon HWND | foreground HWND | codepage | painted |"
                " syscolor INDEX | hold MS PATH | run MS PROGRAM [ARGS] | serve"};
    } catch (const NoSuchWindow &e) {
        return {kNoSuchWindow, Said("inspector: no such window %lu", HandleNumber(e.hwnd))};
    } catch (const WindowGone &e) {
        return {kWindowGone, Said("inspector: window %lu went away", HandleNumber(e.hwnd))};
    } catch (const ForegroundRefused &) {
        return {kRefused, "inspector: SetForegroundWindow refused"};
    } catch (const CallFailed &e) {
        return {kInternalError, std::string("inspector: ") + e.call +
                                    Said(" failed (error %lu)", e.error)};
    } catch (const std::exception &e) {
        return {kInternalError, std::string("inspector: ") + e.what()};
    }
}

// The words of a line, split at spaces.
Words Split(const std::string &line) {
    Words words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t end = std::min(line.find(' ', at), line.size());
        if (end > at)
            words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// serve: calls read a line at a time until the input ends.
int Serve() {
    std::string line;
    char chunk[4096];
    while (std::fgets(chunk, sizeof chunk, stdin)) {
        line += chunk;
        if (line.back() != '\n' && !std::feof(stdin))
            continue;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        const Outcome outcome = Call(Split(line), false);
        line.clear();
        std::printf("\x1e%d %s\n", outcome.code, outcome.said.c_str());
        if (std::fflush(stdout) != 0)
            throw std::runtime_error("writing the output failed");
    }
    if (std::ferror(stdin))
        throw std::runtime_error("reading the input failed");
    return kDone;
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
    const Words words(argv + 1, argv + argc);
    Outcome outcome{kDone, ""};
    if (words == Words{"serve"}) {
        try {
            outcome.code = Serve();
        } catch (const std::exception &e) {
            outcome = {kInternalError, std::string("inspector: ") + e.what()};
        }
    } else {
        outcome = Call(words, true);
    }
    if (std::fflush(stdout) != 0 && outcome.code == kDone)
        outcome = {kInternalError, "inspector: writing the output failed"};
    if (outcome.code != kDone)
        std::fprintf(stderr, "%s\n", outcome.said.c_str());
    return outcome.code;
}
