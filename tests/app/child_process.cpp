#include "tests/app/child_process.h"

#include "tests/support/files.h"
#include "tests/support/windows.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>

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
    marker_ = temp;
    marker_ += "korvanta-app-marker-";
    marker_ += std::to_string(GetCurrentProcessId());
    marker_ += '-';
    marker_ += scenario;
    marker_ += ".txt";
    DeleteFileA(marker_.c_str());
    // Appended piece by piece: GCC 12 warns falsely about "literal" + std::string chains.
    std::string command;
    command += '"';
    command += exe;
    command += "\" --child=";
    command += scenario;
    command += " \"--marker=";
    command += marker_;
    command += '"';
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, current_directory,
                   &si, &info_);
}

Child::~Child() {
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    DeleteFileA(marker_.c_str());
}

HWND Child::WaitForWindow(const char *class_name, const char *caption, bool visible) {
    // Polls until the child has made the window or has ended; the ctest timeout bounds it.
    for (int i = 0; i < 1200; ++i) {
        if (HWND found = test::FindProcessWindow(info_.dwProcessId, class_name, caption, visible))
            return found;
        if (WaitForSingleObject(info_.hProcess, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

DWORD Child::WaitForExit() {
    if (!info_.hProcess)
        return 0xDEAD;
    WaitForSingleObject(info_.hProcess, 60000);
    DWORD code = 0xDEAD;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool Child::MarkerExists() const {
    return test::Exists(marker_);
}

std::string Child::Marker() const {
    return test::ReadAll(marker_);
}

FatalBoxReport RunFatalScenario(const char *scenario, const char *program) {
    FatalBoxReport report;
    Child child(scenario, nullptr, program);
    HWND box = child.WaitForWindow("#32770", nullptr, true);
    if (box) {
        report.box_found = true;
        char buf[1024] = {};
        GetWindowTextA(box, buf, sizeof buf);
        report.caption = buf;
        // The message box keeps its text in the static control 0xFFFF.
        std::memset(buf, 0, sizeof buf);
        GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
        report.text = buf;
        report.has_owner = GetWindow(box, GW_OWNER) != nullptr;
        test::ForEachProcessWindow(child.pid(), [&](HWND window) {
            char cls[64] = {};
            GetClassNameA(window, cls, sizeof cls);
            if (std::strcmp(cls, "KorvantaForm") == 0 && !IsWindowEnabled(window))
                report.program_window_enabled = false;
            return true;
        });
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    }
    report.exit_code = child.WaitForExit();
    report.exit_routine_ran = child.MarkerExists();
    return report;
}

} // namespace korvanta::child_test
