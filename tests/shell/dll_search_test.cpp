// The process start limits the DLL search before the shell runs: by the time RunProcess is
// called, a DLL lying next to the program (where a planted one would lie) no longer loads.
// The program here is the real process start with stand-ins of the shell and the program;
// its exit code is the verdict (0: refused as it must be; 1: the planted DLL loaded).
#include "shell/shell.h"

#include <windows.h>

#include <cstdio>

namespace korvanta {

int32_t ProgramEntry() {
    return 0;
}

int RunProcess(int32_t (*)()) {
    HMODULE planted = LoadLibraryA("kvt_planted.dll");
    if (planted) {
        std::fprintf(stderr, "kvt_planted.dll next to the program loaded\n");
        return 1;
    }
    // The same DLL named with its full path still loads: the search is what changed.
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    while (n > 0 && path[n - 1] != '\\')
        --n;
    lstrcpyA(path + n, "kvt_planted.dll");
    if (!LoadLibraryA(path)) {
        std::fprintf(stderr, "%s does not load by its path (error %lu)\n", path, GetLastError());
        return 2;
    }
    return 0;
}

} // namespace korvanta
