#pragma once
// Scenarios that end the process (fatal errors, the real shutdown) run in a child: the test
// executable started again with --child=NAME. The parent watches its windows and exit code.

#include "tests/support/process.h"

#include <windows.h>

#include <string>

namespace korvanta::child_test {

// A scenario runs in the child and returns its exit code (it usually never returns).
using ChildScenario = int (*)();
struct ChildScenarioEntry {
    ChildScenarioEntry(const char *name, ChildScenario scenario);
};

// The marker file the parent passed to the child (--marker=PATH).
const std::string &ChildMarkerPath();
void WriteMarker(const std::string &text);

class Child {
public:
    // Starts the scenario (in `current_directory` when given); the marker file is fresh. The
    // program is this test executable, or another one of its folder when `program` names it.
    explicit Child(const char *scenario, const char *current_directory = nullptr,
                   const char *program = nullptr);

    // The child's top-level window of the class with the caption, waited for (null on
    // timeout); `visible` asks for one that is shown.
    HWND WaitForWindow(const char *class_name, const wchar_t *caption, bool visible = false);
    // Waits for the end and gives the exit code.
    DWORD WaitForExit();
    bool MarkerExists() const;
    std::string Marker() const;
    DWORD pid() const { return process_.pid(); }

private:
    // Removed once the child has ended: the process is declared after it, so goes first.
    struct MarkerFile {
        std::string path;
        ~MarkerFile() { DeleteFileA(path.c_str()); }
    } marker_;
    test::ChildProcess process_;
};

// What the fatal error box said and how the process ended.
struct FatalBoxReport {
    bool box_found = false;
    std::wstring caption;
    std::wstring text;
    bool has_owner = true;
    bool program_window_enabled = true; // every program window of the child, while the box is up
    DWORD exit_code = 0;
    bool exit_routine_ran = true;
};
// Runs a scenario that ends in a fatal error box, reads the box, presses OK; in `program` of
// the test executable's folder when given.
FatalBoxReport RunFatalScenario(const char *scenario, const char *program = nullptr);

// Runs the child scenario named on the command line; -1 when there is none.
bool IsChildInvocation(int argc, char **argv);
int RunChildInvocation(int argc, char **argv);

} // namespace korvanta::child_test
