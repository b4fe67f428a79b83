#pragma once
// What only the Unix side knows about a process of the same Wine prefix, read through drive
// Z:, Wine's view of "/": its CPU time, and a reset of its peak resident size. Wine answers
// GetProcessMemoryInfo from VmRSS and VmHWM, but only /proc/<pid>/clear_refs brings the
// peak down to the present size.

#include <windows.h>

#include <cstdint>
#include <string>

namespace korvanta::bench {

class UnixProcess {
public:
    // The process whose name (as the kernel keeps it: 15 bytes) begins with this one and
    // whose environment names this prefix ("wineserver" is "wineserver64" on a 64-bit
    // system). The driver runs one program at a time, and the prefix has one server.
    bool Find(const std::string &name);
    DWORD pid() const { return pid_; }
    // Time on a CPU so far, all its threads together.
    double CpuMilliseconds() const;
    bool ResetPeak() const;

private:
    DWORD pid_ = 0;
};

// Resident size and its peak (since the last ResetPeak), as Wine reports them for another
// process.
uint64_t ResidentBytes(HANDLE process);
uint64_t PeakResidentBytes(HANDLE process);

} // namespace korvanta::bench
