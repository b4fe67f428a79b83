#include "tests/shell/child_scenario.h"

#include "tests/support/files.h"
#include "tests/support/wait_limit.h"
#include "tests/support/windows.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

namespace korvanta::child_test {
namespace {

std::map<std::string, ChildScenario> &Scenarios() {
    static std::map<std::string, ChildScenario> all;
    return all;
}

std::string marker_path;

std::string ArgValue(int argc, char **argv, const char *prefix) {
    const size_t n = std::strlen(prefix);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix, n) == 0)
            return argv[i] + n;
    }
    return {};
}

} // namespace

ChildScenarioEntry::ChildScenarioEntry(const char *name, ChildScenario scenario) {
    Scenarios()[name] = scenario;
}

const std::string &ChildMarkerPath() {
    return marker_path;
}

void WriteMarker(const std::string &text) {
    std::ofstream out(marker_path, std::ios::binary | std::ios::app);
    out << text;
}

bool IsChildInvocation(int argc, char **argv) {
    return !ArgValue(argc, argv, "--child=").empty();
}

int RunChildInvocation(int argc, char **argv) {
    marker_path = ArgValue(argc, argv, "--marker=");
    auto at = Scenarios().find(ArgValue(argc, argv, "--child="));
    if (at == Scenarios().end())
        return 3;
    return at->second();
}

Child::Child(const char *scenario, const char *current_directory, const char *program) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    if (program) {
        char *name = std::strrchr(exe, '\\');
        lstrcpynA(name ? name + 1 : exe, program, static_cast<int>(exe + sizeof exe - (name + 1)));
    }
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string &marker = marker_.path;
    marker = temp;
    marker += "korvanta-app-marker-";
    marker += std::to_string(GetCurrentProcessId());
    marker += '-';
    marker += scenario;
    marker += ".txt";
    DeleteFileA(marker.c_str());
    // Appended piece by piece: GCC 12 warns falsely about "literal" + std::string chains.
    std::string command;
    command += '"';
    command += exe;
    command += "\" --child=";
    command += scenario;
    command += " \"--marker=";
    command += marker;
    command += '"';
    process_.Start(command, current_directory);
}

HWND Child::WaitForWindow(const char *class_name, const wchar_t *caption, bool visible) {
    return process_.WaitForWindow(class_name, caption, visible, test::kWaitLimitMs);
}

DWORD Child::WaitForExit() {
    DWORD code = 0xDEAD;
    process_.WaitForExit(test::kWaitLimitMs, code);
    return code;
}

bool Child::MarkerExists() const {
    return test::Exists(marker_.path);
}

std::string Child::Marker() const {
    return test::ReadAll(marker_.path);
}

FatalBoxReport RunFatalScenario(const char *scenario, const char *program) {
    FatalBoxReport report;
    Child child(scenario, nullptr, program);
    if (HWND box = child.WaitForWindow("#32770", nullptr, true)) {
        report.box_found = true;
        const test::MessageBoxView view = test::ReadMessageBox(box);
        report.caption = view.caption;
        report.text = view.text;
        report.has_owner = view.owned;
        test::ForEachProcessWindow(child.pid(), [&](HWND window) {
            char cls[64] = {};
            GetClassNameA(window, cls, sizeof cls);
            if (std::strcmp(cls, "KorvantaForm") == 0 && !IsWindowEnabled(window))
                report.program_window_enabled = false;
            return true;
        });
        test::PressBoxButton(box, IDOK);
    }
    report.exit_code = child.WaitForExit();
    report.exit_routine_ran = child.MarkerExists();
    return report;
}

} // namespace korvanta::child_test
