// The process start of korvanta.exe: the DLL search is limited, then the shell runs the
// program's entry routine.
#include "shell/shell.h"

#include <windows.h>

namespace {

// The program runs elevated, often from a Downloads folder into which a web page may have
// dropped a version.dll or uxtheme.dll. Before the shell starts OLE (which loads further DLLs by
// name), DLLs come from System32 alone and the current directory leaves the search. Windows 7
// without its update lacks SetDefaultDllDirectories, hence the lookup; its static imports are
// KnownDLLs, which never come from the program's folder.
void LimitDllSearch() {
    using SetDefaultDirectories = BOOL(WINAPI *)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (found)
        reinterpret_cast<SetDefaultDirectories>(reinterpret_cast<void (*)()>(found))(
            LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LimitDllSearch();
    return korvanta::RunProcess(&korvanta::ProgramEntry);
}
