// The benchmark driver: one round of every timed figure, run inside the benchmark's Wine prefix
// so that korvanta.exe and its baselines pay the same Wine costs. bench.py starts one round
// per call, alternating each figure with its baseline, and prints the table.
//
// driver.exe --korvanta EXE --ole-window EXE --game DIR --copy-root DIR
//            --foreign DIR --stock DIR [--poll-ms N] [--settle-ms N]
//            [--order korvanta-first|baseline-first]
// prints one JSON line of milliseconds and bytes, or {"error": ...} and exit code 1.

#include "bench/clock.h"
#include "bench/folder_copy.h"
#include "bench/ole_window.h"
#include "bench/unix_process.h"
#include "tests/support/files.h"
#include "tests/support/process.h"
#include "tests/support/program_answers.h"
#include "tests/support/windows.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace korvanta::bench {
namespace {

using test::ChildProcess;
using test::PollUntil;

constexpr wchar_t kMainTitle[] = L"Korvanta";
constexpr DWORD kTimeoutMs = 60000;

struct Options {
    std::string korvanta, ole_window, game, copy_root, foreign, stock;
    DWORD poll_ms = 1;
    DWORD settle_ms = 300;
    bool baseline_first = false; // bench.py alternates the order from round to round
};

// What one figure cost: its wall time, and the CPU time of the program doing the work and of
// the prefix's server meanwhile. The CPU times are less sensitive to a busy machine than the
// wall time, and the server's share is Wine's work on the program's behalf.
struct Cost {
    double ms = 0, cpu_ms = 0, server_cpu_ms = 0;
};

// One action seen from outside: its cost from click to box, and the resident size before and
// at its peak.
struct ActionFigures {
    Cost cost;
    uint64_t before_bytes = 0, peak_bytes = 0;
};

struct Figures {
    Cost startup, ole_startup;
    ActionFigures replace, restore;
    Cost copy_foreign, delete_copy_stock;
};

// Names of the plain files directly in the folder.
std::vector<std::string> FileNamesIn(const std::string &folder) {
    std::vector<std::string> names;
    for (const test::TreeEntry &entry : test::ListFolder(folder)) {
        if (!entry.is_folder())
            names.push_back(entry.path);
    }
    return names;
}

size_t CountFiles(const std::string &folder) {
    return FileNamesIn(folder).size();
}

std::string BaseName(const std::string &path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class Round {
public:
    explicit Round(const Options &options) : o_(options) {}
    bool Run() {
        // Wine starts a desktop process for the first window of a session, and it goes on
        // settling after its window exists; one untimed start of the baseline window lets
        // neither side pay for that.
        if (!GetDesktopWindow() || !WarmUp())
            return Fail("no desktop to start the programs on");
        if (!server_unix_.Find("wineserver") || !driver_unix_.Find("driver.exe"))
            return Fail("cannot find the Unix processes of the server and the driver");
        return o_.baseline_first ? BaselineSide() && KorvantaSide()
                                 : KorvantaSide() && BaselineSide();
    }
    const Figures &figures() const { return f_; }
    const std::string &error() const { return error_; }

private:
    bool Fail(const std::string &why) {
        error_ = why;
        return false;
    }

    // Times work with the CPU time of the process doing it (the program, or the driver itself)
    // and the server's.
    template <typename Work> bool Measure(Cost &cost, const UnixProcess &worker, Work work) {
        const double cpu = worker.CpuMilliseconds();
        const double server_cpu = server_unix_.CpuMilliseconds();
        Stopwatch watch;
        const bool done = work();
        cost.ms = watch.Milliseconds();
        cost.cpu_ms = worker.CpuMilliseconds() - cpu;
        cost.server_cpu_ms = server_unix_.CpuMilliseconds() - server_cpu;
        return done;
    }

    // Process creation until the window is visible; the window is found hidden first, since
    // both programs create it before they show it. The program's CPU time is all it has had
    // by then (it is idle once its window shows), read after the clock has stopped.
    bool StartUntilVisible(ChildProcess &child, const std::string &exe, const wchar_t *title,
                           HWND &window, Cost &cost) {
        const double server_cpu = server_unix_.CpuMilliseconds();
        Stopwatch watch;
        if (!child.Start("\"" + exe + "\""))
            return Fail("cannot start " + exe);
        window = nullptr;
        bool shown = PollUntil(child, kTimeoutMs, o_.poll_ms, [&] {
            if (!window)
                window = test::FindProcessWindow(child.pid(), nullptr, title);
            return window && IsWindowVisible(window);
        });
        cost.ms = watch.Milliseconds();
        cost.server_cpu_ms = server_unix_.CpuMilliseconds() - server_cpu;
        if (!shown)
            return Fail("no visible window: " + test::Utf8(title));
        UnixProcess program;
        if (!program.Find(BaseName(exe)))
            return Fail("cannot find the Unix process of " + exe);
        cost.cpu_ms = program.CpuMilliseconds();
        return true;
    }

    // From the posted click to the visible message box; then the box is dismissed and the
    // main window takes input again.
    bool ClickUntilBox(ChildProcess &child, HWND main, int button_id, Cost &cost) {
        HWND button = GetDlgItem(main, button_id);
        if (!button)
            return Fail("no button " + std::to_string(button_id));
        HWND box = nullptr;
        const bool boxed = Measure(cost, korvanta_unix_, [&] {
            PostMessageA(button, BM_CLICK, 0, 0);
            return PollUntil(child, kTimeoutMs, o_.poll_ms,
                             [&] { return (box = test::FindMessageBox(child.pid())) != nullptr; });
        });
        if (!boxed)
            return Fail("no message box after button " + std::to_string(button_id));
        if (test::ReadMessageBox(box).text != test::kSuccess)
            return Fail("unexpected message box after button " + std::to_string(button_id));
        test::PressBoxButton(box, IDOK);
        return PollUntil(child, kTimeoutMs, o_.poll_ms,
                         [&] { return !IsWindow(box) && IsWindowEnabled(main); }) ||
               Fail("message box stayed");
    }

    // One click measured: the peak is reset first, so that it holds only this action.
    bool MeasureAction(ChildProcess &korvanta, HWND main, int button_id, ActionFigures &a) {
        a.before_bytes = ResidentBytes(korvanta.handle());
        if (!korvanta_unix_.ResetPeak())
            return Fail("cannot reset the peak resident size");
        if (!ClickUntilBox(korvanta, main, button_id, a.cost))
            return false;
        a.peak_bytes = PeakResidentBytes(korvanta.handle());
        return true;
    }

    bool KorvantaSide() {
        ChildProcess korvanta;
        HWND main = nullptr;
        if (!StartUntilVisible(korvanta, o_.korvanta, kMainTitle, main, f_.startup))
            return false;
        // Idle means settled: first paint done, nothing left in the queue.
        WaitForInputIdle(korvanta.handle(), kTimeoutMs);
        Sleep(o_.settle_ms);
        if (!korvanta_unix_.Find(BaseName(o_.korvanta)))
            return Fail("cannot find the Unix process of korvanta.exe");

        if (!MeasureAction(korvanta, main, test::kReplaceButtonId, f_.replace))
            return false;
        if (CountFiles(o_.game + "\\rez\\UI\\class") != CountFiles(o_.foreign))
            return Fail("replace did not install the foreign set");
        if (!MeasureAction(korvanta, main, test::kRestoreButtonId, f_.restore))
            return false;
        if (CountFiles(o_.game + "\\rez\\UI\\class2") != CountFiles(o_.stock))
            return Fail("restore did not unpack the stock set");

        DWORD code = 0;
        if (!korvanta.Close(main, kTimeoutMs, code) || code != 0)
            return Fail("korvanta.exe did not end with 0");
        return true;
    }

    bool StartOleWindow(Cost &cost) {
        ChildProcess window_program;
        HWND window = nullptr;
        if (!StartUntilVisible(window_program, o_.ole_window, kOleWindowTitle, window, cost))
            return false;
        DWORD code = 0;
        return window_program.Close(window, kTimeoutMs, code) ||
               Fail("the baseline window did not end");
    }

    bool WarmUp() {
        Cost ignored;
        if (!StartOleWindow(ignored))
            return false;
        Sleep(o_.settle_ms);
        return true;
    }

    // The file work of both actions done with plain calls. Replace: the icons copied into
    // place. Restore: the installed folder renamed away and the set-aside one renamed back, the
    // renamed folder's files deleted one by one, and the stock set copied into the set-aside
    // folder. The listings are made before the clock starts: the extraction knows its entries
    // from the archive's directory, which it reads inside its own time.
    bool BaselineSide() {
        if (!StartOleWindow(f_.ole_startup))
            return false;
        const std::string root = o_.copy_root + "\\";
        const std::vector<std::string> foreign = FileNamesIn(o_.foreign);
        const std::vector<std::string> stock = FileNamesIn(o_.stock);
        if (!Measure(f_.copy_foreign, driver_unix_,
                     [&] { return CopyFiles(o_.foreign, root + "class", foreign); }))
            return Fail("copying the foreign set failed");
        const bool restored = Measure(f_.delete_copy_stock, driver_unix_, [&] {
            return MoveFileA((root + "class").c_str(), (root + "class.old").c_str()) &&
                   MoveFileA((root + "aside").c_str(), (root + "class").c_str()) &&
                   DeleteFiles(root + "class.old", foreign) &&
                   RemoveDirectoryA((root + "class.old").c_str()) &&
                   CopyFiles(o_.stock, root + "class2", stock);
        });
        return restored || Fail("renaming, deleting or copying for the restore failed");
    }

    const Options &o_;
    Figures f_;
    UnixProcess korvanta_unix_;
    UnixProcess server_unix_;
    UnixProcess driver_unix_;
    std::string error_;
};

bool ParseOptions(int argc, char **argv, Options &o) {
    std::map<std::string, std::string> values;
    for (int i = 1; i + 1 < argc; i += 2)
        values[argv[i]] = argv[i + 1];
    o.korvanta = values["--korvanta"];
    o.ole_window = values["--ole-window"];
    o.game = values["--game"];
    o.copy_root = values["--copy-root"];
    o.foreign = values["--foreign"];
    o.stock = values["--stock"];
    if (values.count("--poll-ms"))
        o.poll_ms = static_cast<DWORD>(std::strtoul(values["--poll-ms"].c_str(), nullptr, 10));
    o.baseline_first = values["--order"] == "baseline-first";
    if (values.count("--settle-ms"))
        o.settle_ms = static_cast<DWORD>(std::strtoul(values["--settle-ms"].c_str(), nullptr, 10));
    return argc % 2 == 1 && !o.korvanta.empty() && !o.ole_window.empty() && !o.game.empty() &&
           !o.copy_root.empty() && !o.foreign.empty() && !o.stock.empty();
}

// Error texts carry Windows paths: their backslashes and quotes are escaped for JSON.
std::string JsonText(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

// One JSON line: each cost as NAME_ms, NAME_cpu_ms and NAME_server_cpu_ms, then the resident
// sizes of both actions.
void PrintFigures(const Figures &f) {
    const std::pair<const char *, const Cost *> costs[] = {
        {"startup", &f.startup},           {"ole_startup", &f.ole_startup},
        {"replace", &f.replace.cost},      {"restore", &f.restore.cost},
        {"copy_foreign", &f.copy_foreign}, {"delete_copy_stock", &f.delete_copy_stock}};
    const char *separator = "{";
    for (const auto &[name, cost] : costs) {
        std::printf("%s\"%s_ms\": %.3f, \"%s_cpu_ms\": %.3f, \"%s_server_cpu_ms\": %.3f", separator,
                    name, cost->ms, name, cost->cpu_ms, name, cost->server_cpu_ms);
        separator = ", ";
    }
    for (const auto &[name, action] : {std::pair{"replace", &f.replace}, {"restore", &f.restore}})
        std::printf(", \"%s_before_bytes\": %llu, \"%s_peak_bytes\": %llu", name,
                    static_cast<unsigned long long>(action->before_bytes), name,
                    static_cast<unsigned long long>(action->peak_bytes));
    std::printf("}\n");
}

} // namespace
} // namespace korvanta::bench

int main(int argc, char **argv) {
    using namespace korvanta::bench;
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: driver.exe --korvanta EXE --ole-window EXE --game DIR "
                             "--copy-root DIR --foreign DIR --stock DIR [--poll-ms N] "
                             "[--settle-ms N] [--order korvanta-first|baseline-first]\n");
        return 2;
    }
    Round round(options);
    if (!round.Run()) {
        std::printf("{\"error\": \"%s\"}\n", JsonText(round.error()).c_str());
        return 1;
    }
    PrintFigures(round.figures());
    return 0;
}
