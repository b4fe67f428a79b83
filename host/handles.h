#pragma once
// Owners of the handles of files, directory enumerations and registry keys.

#include "base/unique_handle.h"

#include <windows.h>

namespace korvanta {

inline bool CloseKernelObject(HANDLE h) {
    return CloseHandle(h) != FALSE;
}
inline bool CloseFindHandle(HANDLE h) {
    return FindClose(h) != FALSE;
}
inline bool CloseRegistryKey(HKEY key) {
    return RegCloseKey(key) == ERROR_SUCCESS;
}

// Kernel objects closed with CloseHandle: files, threads, processes, events. CreateFileW
// reports failure as INVALID_HANDLE_VALUE and most other creators as null; neither is owned.
using FileHandle = UniqueHandle<HANDLE, &CloseKernelObject, -1>;
// Directory enumerations from FindFirstFileW.
using FindHandle = UniqueHandle<HANDLE, &CloseFindHandle, -1>;
// Keys opened or created by the caller; the predefined roots are never owned.
using RegistryKey = UniqueHandle<HKEY, &CloseRegistryKey>;

} // namespace korvanta
