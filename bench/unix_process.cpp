#include "bench/unix_process.h"

#include "host/handles.h"
#include "tests/support/files.h"

#include <psapi.h>

#include <cstdlib>

namespace korvanta::bench {
namespace {

std::string ProcPath(const std::string &pid, const char *leaf) {
    return "Z:\\proc\\" + pid + "\\" + leaf;
}

bool AllDigits(const char *name) {
    if (!*name)
        return false;
    for (; *name; ++name) {
        if (*name < '0' || *name > '9')
            return false;
    }
    return true;
}

PROCESS_MEMORY_COUNTERS Counters(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        counters = PROCESS_MEMORY_COUNTERS{};
    return counters;
}

} // namespace

bool UnixProcess::Find(const std::string &name) {
    char prefix[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (n == 0 || n >= sizeof prefix)
        return false;
    const std::string comm = name.substr(0, 15);
    const std::string marker = std::string("WINEPREFIX=") + prefix + '\0';
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA("Z:\\proc\\*", &found));
    if (!find.valid())
        return false;
    do {
        if (!AllDigits(found.cFileName) ||
            test::ReadAll(ProcPath(found.cFileName, "comm")).compare(0, comm.size(), comm) != 0)
            continue;
        if (test::ReadAll(ProcPath(found.cFileName, "environ")).find(marker) == std::string::npos)
            continue;
        pid_ = static_cast<DWORD>(std::strtoul(found.cFileName, nullptr, 10));
        return true;
    } while (FindNextFileA(find.get(), &found));
    return false;
}

double UnixProcess::CpuMilliseconds() const {
    // Every thread's: the first field of its schedstat, nanoseconds on a CPU.
    const std::string tasks = ProcPath(std::to_string(pid_), "task");
    uint64_t ns = 0;
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((tasks + "\\*").c_str(), &found));
    if (!find.valid())
        return 0;
    do {
        if (AllDigits(found.cFileName))
            ns += std::strtoull(
                test::ReadAll(tasks + "\\" + found.cFileName + "\\schedstat").c_str(), nullptr, 10);
    } while (FindNextFileA(find.get(), &found));
    return static_cast<double>(ns) / 1e6;
}

bool UnixProcess::ResetPeak() const {
    if (pid_ == 0)
        return false;
    const std::string path = ProcPath(std::to_string(pid_), "clear_refs");
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD written = 0;
    // "5" resets the peak resident size to the present one.
    return file.valid() && WriteFile(file.get(), "5", 1, &written, nullptr) && written == 1;
}

uint64_t ResidentBytes(HANDLE process) {
    return Counters(process).WorkingSetSize;
}

uint64_t PeakResidentBytes(HANDLE process) {
    // The kernel folds the present size into its peak only now and then, so the peak it
    // reports can lag behind.
    const PROCESS_MEMORY_COUNTERS counters = Counters(process);
    return counters.PeakWorkingSetSize > counters.WorkingSetSize ? counters.PeakWorkingSetSize
                                                                 : counters.WorkingSetSize;
}

} // namespace korvanta::bench
