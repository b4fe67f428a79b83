#pragma once
// The extractor as the program calls it: ExtractArchive of a loaded window's ZIP unit, whose
// ExtractProgress handler only records the percentages (it never asks for a stop). Every
// call runs under a time bound: a hang ends the test process with the damage named.

#include <windows.h>

#include "host/handles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvanta::test {

using KernelHandle = FileHandle;

struct Extraction {
    int32_t result = 0;
    std::vector<int32_t> reports; // the percentages ExtractProgress carried, in order
};

// Loads the harness window if it is not loaded (the shell must have been started).
void LoadHarnessWindow();
void CloseHarnessWindow();

Extraction RunExtraction(const std::string &archive, const std::string &destination);

// Ends the process with exit code 3 and a line on stderr naming what ran, when an armed
// bound passes before Disarm. One thread for the whole run.
class Watchdog {
public:
    explicit Watchdog(DWORD bound_ms);
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;
    ~Watchdog();

    void Arm(std::string what);
    void Disarm();

private:
    static DWORD WINAPI Watch(void *self);

    const DWORD bound_ms_;
    // Written only while the watch thread waits for `changed_`: Arm and Disarm set the
    // fields first and signal after.
    volatile LONG armed_ = 0;
    volatile LONG stop_ = 0;
    std::string what_;
    KernelHandle changed_;
    KernelHandle thread_;
};

} // namespace korvanta::test
