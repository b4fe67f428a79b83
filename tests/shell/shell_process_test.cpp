// The shell end to end in child processes: the exit codes, the exit routine and the fatal
// error box of every fatal condition of the shell and the window layer.
#include "shell/content.h"
#include "shell/events.h"
#include "base/fatal.h"
#include "shell/live_window.h"
#include "base/memory.h"
#include "base/wide_win.h"
#include "shell/shell.h"
#include "shell/window_loader.h"
#include "program/main_window.h"
#include "program/program_state.h"
#include "tests/shell/child_scenario.h"
#include "tests/shell/release_runtime_scenarios.h"
#include "tests/shell/handler_doubles.h"
#include "tests/shell/refusing_allocator.h"
#include "tests/shell/unit_window.h"
#include "tests/support/wait_limit.h"
#include "tests/support/windows.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace korvanta {
namespace {
using child_test::Child;
using child_test::ChildScenarioEntry;
using child_test::FatalBoxReport;
using child_test::RunFatalScenario;
using child_test::WriteMarker;

BOOL CALLBACK CountProgramWindow(HWND hwnd, LPARAM lp) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) == "KorvantaForm")
        ++*reinterpret_cast<int *>(lp);
    return TRUE;
}

// The exit routine of the scenarios: leaves a note saying whether a program window of this
// process was still there when it ran.
void MarkingExitRoutine() {
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountProgramWindow,
                      reinterpret_cast<LPARAM>(&windows));
    WriteMarker(windows ? "exit routine, window open" : "exit routine, no window");
}

int RunEntry(int32_t (*entry)()) {
    return RunProcess(entry);
}

// --- normal ends ---------------------------------------------------------------------------

void NoteGameRootAtExit() {
    WriteMarker(GameRoot.absent() ? "GameRoot released" : "GameRoot still held");
}

// The program's own entry routine; staging leaves a text in GameRoot for ExitRoutine.
const ChildScenarioEntry kProgram("program", [] {
    doubles::on_staging = [] { GameRoot = Text::Copy("D:\\Games\\CF"); };
    std::atexit(&NoteGameRootAtExit);
    return RunEntry(&ProgramEntry);
});

const ChildScenarioEntry kMarkedProgram("marked-program", [] {
    return RunEntry([]() -> int32_t {
        InitShell();
        RegisterExitRoutine(&MarkingExitRoutine);
        RunStartWindow(kMainWindowId);
        RunMainLoop();
        return 0;
    });
});

// A window that closes itself in its creation-complete handler: no loop, a clean end.
const ChildScenarioEntry kSelfClosing("self-closing", [] {
    doubles::on_staging = [] { DestroyWindow(UnitWindow(kMainWindow)); };
    return RunEntry([]() -> int32_t {
        InitShell();
        RegisterExitRoutine(&MarkingExitRoutine);
        RunStartWindow(kMainWindowId);
        WriteMarker("loop;");
        RunMainLoop();
        return 0;
    });
});

TEST(ShellProcess, ClosingTheWindowEndsWithExitCodeZeroAndReleasesGameRoot) {
    Child child("program");
    HWND w = child.WaitForWindow("KorvantaForm", L"Korvanta", true);
    ASSERT_TRUE(w);
    PostMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.WaitForExit(), 0u);
    EXPECT_EQ(child.Marker(), "GameRoot released");
}

TEST(ShellProcess, TheExitRoutineRunsOnceAfterTheWindowIsGone) {
    Child child("marked-program");
    HWND w = child.WaitForWindow("KorvantaForm", L"Korvanta", true);
    ASSERT_TRUE(w);
    EXPECT_FALSE(child.MarkerExists());
    PostMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(child.WaitForExit(), 0u);
    EXPECT_EQ(child.Marker(), "exit routine, no window");
}

TEST(ShellProcess, AWindowGoneBeforeTheLoopSkipsIt) {
    Child child("self-closing");
    EXPECT_EQ(child.WaitForExit(), 0u);
    EXPECT_EQ(child.Marker(), "loop;exit routine, no window");
}

// The current directory, the program's directory and its file name, each in UTF-8.
const ChildScenarioEntry kCurrentDirectory("current-directory", [] {
    InitShell();
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring path(exe);
    const size_t last = path.rfind(L'\\');
    WriteMarker(FromWide(cwd).value_or("?") + "|" + FromWide(path.substr(0, last)).value_or("?") +
                "|" + FromWide(path.substr(last + 1)).value_or("?"));
    return 0;
});

TEST(ShellProcess, TheProgramsDirectoryBecomesTheCurrentDirectory) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string path(exe);
    const std::string directory = path.substr(0, path.rfind('\\'));
    const std::string name = path.substr(path.rfind('\\') + 1);
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    Child child("current-directory", temp);
    EXPECT_EQ(child.WaitForExit(), 0u);
    EXPECT_EQ(child.Marker(), directory + "|" + directory + "|" + name);
}

TEST(ShellProcess, AProgramDirectoryOfAnyCharactersBecomesTheCurrentDirectory) {
    // Korean and a character outside the BMP: no ANSI code page holds the folder's name, so
    // only the wide calls find the program's folder and make it current.
    wchar_t exe[MAX_PATH] = {}, temp[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"korvanta 게임 \U00020000 " + std::to_wstring(GetCurrentProcessId());
    const std::wstring copy = folder + L"\\player.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(exe, copy.c_str(), FALSE));
    char marker_path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, marker_path);
    const std::string marker =
        std::string(marker_path) + "korvanta-cwd-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(marker.c_str());
    std::wstring command = L"\"" + copy + L"\" --child=current-directory \"--marker=";
    command += std::wstring(marker.begin(), marker.end()) + L"\"";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               temp, &si, &pi));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, test::kWaitLimitMs), WAIT_OBJECT_0)
        << "timed out after " << KORVANTA_WAIT_LIMIT << " s waiting for the child's end";
    DWORD code = 0xDEAD;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::ifstream in(marker, std::ios::binary);
    const std::string seen((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(marker.c_str());
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(code, 0u);
    const std::string directory = FromWide(folder).value();
    EXPECT_EQ(seen, directory + "|" + directory + "|player.exe");
}

// --- the order of start-up and shutdown ----------------------------------------------------

const ChildScenarioEntry kErrorMode("error-mode", [] {
    SetErrorMode(SEM_NOGPFAULTERRORBOX); // one the process already has
    return RunEntry([]() -> int32_t {
        WriteMarker(std::to_string(GetErrorMode()));
        return 0;
    });
});

TEST(ShellProcess, TheProcessStartsWithoutTheSystemsDriveAndFileBoxes) {
    Child child("error-mode");
    EXPECT_EQ(child.WaitForExit(), 0u);
    const UINT wanted = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX;
    const std::string mode = child.Marker();
    ASSERT_FALSE(mode.empty());
    EXPECT_EQ(std::stoul(mode) & wanted, wanted);
}

// Whether OLE is started on this thread; the probe undoes its own start.
std::string OleState() {
    const HRESULT hr = OleInitialize(nullptr);
    if (SUCCEEDED(hr))
        OleUninitialize();
    return hr == S_FALSE ? "OLE" : hr == S_OK ? "no OLE" : "OLE failed";
}

std::string Visibility() {
    return IsWindowVisible(UnitWindow(kMainWindow)) ? "shown" : "hidden";
}

// Appended piece by piece: GCC 12 warns falsely about "literal" + std::string chains.
void Note(const char *what, const std::string &state, const char *end = ";") {
    std::string line = what;
    line += state;
    line += end;
    WriteMarker(line);
}

const ChildScenarioEntry kStartOrder("start-order", [] {
    doubles::on_staging = [] {
        std::string state = Visibility();
        state += ", ";
        state += OleState();
        Note("staging: ", state);
    };
    const int code = RunEntry([]() -> int32_t {
        InitShell();
        RegisterExitRoutine([] { Note("exit routine: ", OleState()); });
        RunStartWindow(kMainWindowId);
        Note("start window: ", Visibility());
        DestroyWindow(UnitWindow(kMainWindow));
        RunMainLoop();
        return 0;
    });
    Note("after: ", OleState(), "");
    return code;
});

// OLE is up before the window is built and until the exit routine has run; the window is
// shown only once start-up staging is done.
TEST(ShellProcess, StartUpAndShutdownOrder) {
    Child child("start-order");
    EXPECT_EQ(child.WaitForExit(), 0u);
    EXPECT_EQ(child.Marker(),
              "staging: hidden, OLE;start window: shown;exit routine: OLE;after: no OLE");
}

// --- fatal ends ----------------------------------------------------------------------------

// The common start of the fatal scenarios: the shell up, an exit routine that must not run.
int32_t FatalStart() {
    InitShell();
    RegisterExitRoutine(&MarkingExitRoutine);
    return 0;
}

const ChildScenarioEntry kMissingWindow("missing-window", [] {
    return RunEntry([]() -> int32_t {
        FatalStart();
        RunStartWindow(4711);
        RunMainLoop();
        return 0;
    });
});

const ChildScenarioEntry kAllocation("allocation", [] {
    return RunEntry([]() -> int32_t {
        FatalStart();
        // A heap that can never hold 4096 bytes.
        UseBlockHeap(HeapCreate(0, 4096, 4096));
        AllocBlock(4096);
        return 0;
    });
});

const ChildScenarioEntry kCodeOnly("code-only", [] {
    return RunEntry([]() -> int32_t {
        FatalStart();
        FatalError("", 5);
    });
});

const ChildScenarioEntry kEventWindow("event-window", [] {
    return RunEntry([]() -> int32_t {
        FatalStart();
        RunStartWindow(kMainWindowId);
        RaiseEvent(4711, 0, 0);
        return 0;
    });
});

const ChildScenarioEntry kEventUnit("event-unit", [] {
    return RunEntry([]() -> int32_t {
        FatalStart();
        RunStartWindow(kMainWindowId);
        RaiseEvent(kMainWindowId, 6, 0);
        return 0;
    });
});

const ChildScenarioEntry kContentNotLoaded("content-not-loaded", [] {
    return RunEntry([]() -> int32_t {
        FatalStart();
        ReadContent(kEditBox1);
        return 0;
    });
});

const ChildScenarioEntry kContentGone("content-gone", [] {
    return RunEntry([]() -> int32_t {
        FatalStart();
        RunStartWindow(kMainWindowId);
        DestroyWindow(UnitWindow(kEditBox1));
        WriteContent(kEditBox1, "x");
        return 0;
    });
});

// Memory is gone when the report is made: new refuses everything from here on.
const ChildScenarioEntry kNoMemoryLeft("no-memory-left", [] {
    return RunEntry([]() -> int32_t {
        FatalStart();
        child_test::RefuseAllocations();
        FatalError("内存已耗尽", 7);
    });
});

// A description whose window unit lacks its properties cannot be read.
const UnitRecord kBrokenUnits[] = {
    {.type = UnitType::Window, .window = nullptr},
};
const WindowDescription kBroken{.id = 4712, .units = kBrokenUnits};

const ChildScenarioEntry kBrokenDescription("broken-description", [] {
    static const WindowDescriptionEntry entry(kBroken); // only in this child
    return RunEntry([]() -> int32_t {
        InitShell();
        RegisterExitRoutine(&MarkingExitRoutine);
        return 0;
    });
});

// A click that comes through the box's own message loop finds every handler stopped.
const ChildScenarioEntry kClickDuringBox("click-during-box", [] {
    doubles::on_restore = [] { WriteMarker("restore ran;"); };
    return RunEntry([]() -> int32_t {
        FatalStart();
        RunStartWindow(kMainWindowId);
        PostMessageA(UnitWindow(kButton2), BM_CLICK, 0, 0);
        FatalError("x", 0);
    });
});

void ExpectFatal(const FatalBoxReport &r, const std::wstring &text) {
    ASSERT_TRUE(r.box_found);
    EXPECT_EQ(r.caption, L"错误");
    EXPECT_EQ(r.text, text);
    EXPECT_FALSE(r.has_owner);
    EXPECT_TRUE(r.program_window_enabled);
    EXPECT_EQ(r.exit_code, 0xFFFFFFFFu);
    EXPECT_FALSE(r.exit_routine_ran);
}

TEST(ShellProcess, MissingStartWindowIsFatal) {
    ExpectFatal(RunFatalScenario("missing-window"),
                L"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
}

TEST(ShellProcess, FailedAllocationNamesTheByteCount) {
    ExpectFatal(RunFatalScenario("allocation"),
                L"运行时出错!\r\n\r\n错误信息：分配 4096 字节内存失败!\r\n");
}

// Compiled as korvanta.exe is, the runtime's throwing paths end in the same report.
class ReleaseRuntime : public testing::TestWithParam<release_runtime::Scenario> {};

TEST_P(ReleaseRuntime, FailureIsFatal) {
    const release_runtime::Scenario &scenario = GetParam();
    std::wstring message =
        scenario.message
            ? scenario.message
            : L"分配 " + std::to_wstring(static_cast<unsigned>(release_runtime::kRefusedSize)) +
                  L" 字节内存失败!";
    ExpectFatal(RunFatalScenario(scenario.name, "shell_release_runtime_child.exe"),
                L"运行时出错!\r\n\r\n错误信息：" + message + L"\r\n");
}

INSTANTIATE_TEST_SUITE_P(Paths, ReleaseRuntime, testing::ValuesIn(release_runtime::kScenarios),
                         [](const testing::TestParamInfo<release_runtime::Scenario> &param) {
                             std::string name = param.param.name;
                             for (char &c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

TEST(ShellProcess, CodeWithoutMessage) {
    ExpectFatal(RunFatalScenario("code-only"), L"运行时出错!\r\n\r\n错误代码：5\r\n\r\n");
}

// The box text was built on the heap, so with memory gone there was no box and no exit code -1.
TEST(ShellProcess, TheReportNeedsNoMemory) {
    ExpectFatal(RunFatalScenario("no-memory-left"),
                L"运行时出错!\r\n\r\n错误代码：7\r\n\r\n错误信息：内存已耗尽\r\n");
}

TEST(ShellProcess, EventOfAWindowThatIsNotLoaded) {
    ExpectFatal(RunFatalScenario("event-window"),
                L"运行时出错!\r\n\r\n错误信息：未找到引发事件的窗口\r\n");
}

TEST(ShellProcess, EventOfAUnitTheWindowDoesNotHave) {
    ExpectFatal(RunFatalScenario("event-unit"),
                L"运行时出错!\r\n\r\n错误信息：未找到引发事件的窗口组件\r\n");
}

TEST(ShellProcess, ContentOfAWindowThatIsNotLoaded) {
    ExpectFatal(RunFatalScenario("content-not-loaded"),
                L"运行时出错!\r\n\r\n错误信息：未载入欲访问窗口组件所在的窗口\r\n");
}

TEST(ShellProcess, ContentOfAControlThatIsGone) {
    ExpectFatal(RunFatalScenario("content-gone"),
                L"运行时出错!\r\n\r\n错误信息：指定窗口尚未载入\r\n");
}

TEST(ShellProcess, AnUnreadableWindowDescriptionIsFatal) {
    FatalBoxReport r = RunFatalScenario("broken-description");
    ASSERT_TRUE(r.box_found);
    EXPECT_EQ(r.text, L"运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n");
    EXPECT_EQ(r.exit_code, 0xFFFFFFFFu);
    EXPECT_FALSE(r.exit_routine_ran); // not registered yet
}

TEST(ShellProcess, NoHandlerRunsAfterAFatalError) {
    Child child("click-during-box");
    HWND box = child.WaitForWindow("#32770", L"错误", true);
    ASSERT_TRUE(box);
    test::PressBoxButton(box, IDOK);
    EXPECT_EQ(child.WaitForExit(), 0xFFFFFFFFu);
    EXPECT_FALSE(child.MarkerExists()); // neither the click's handler nor the exit routine
}

} // namespace
} // namespace korvanta
