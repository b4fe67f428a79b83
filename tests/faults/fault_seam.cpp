#include "tests/faults/fault_seam.h"

#include "tests/support/windows.h"

#include <io.h>

#include <cstdio>
#include <cstring>
#include <map>

namespace korvanta::test {
namespace {

constexpr int kCalls = static_cast<int>(FileCall::Any);

struct Seam {
    bool armed = false;
    std::map<HANDLE, std::string> opened; // the path each open file handle was opened by
    FaultPlan plan;
    uint32_t counted = 0;
    std::vector<CallRecord> records;
    std::vector<ShownBox> boxes;
};
Seam seam;

// A path a call was given, in UTF-8 as the program holds it.
std::string Named(const wchar_t *path) {
    return path ? Utf8(path) : std::string();
}

// Whether this call fails; SetLastError has been called when it does.
bool Fails(FileCall call, const std::string &subject = {}) {
    if (!seam.armed)
        return false;
    bool failed = false;
    if (seam.plan.which == FileCall::Any || seam.plan.which == call) {
        ++seam.counted;
        failed = seam.plan.nth != 0 && (seam.counted == seam.plan.nth ||
                                        (seam.plan.and_after && seam.counted > seam.plan.nth));
    }
    seam.records.push_back({call, subject, failed});
    if (failed)
        SetLastError(seam.plan.error);
    return failed;
}

// The real functions, taken from the import table as it was.
struct Real {
    decltype(&::CreateFileW) CreateFileW;
    decltype(&::ReadFile) ReadFile;
    decltype(&::WriteFile) WriteFile;
    decltype(&::SetFilePointerEx) SetFilePointerEx;
    decltype(&::GetFileSizeEx) GetFileSizeEx;
    decltype(&::CloseHandle) CloseHandle;
    decltype(&::GetFileType) GetFileType;
    decltype(&::SetFileTime) SetFileTime;
    decltype(&::GetFileAttributesW) GetFileAttributesW;
    decltype(&::GetFileAttributesExW) GetFileAttributesExW;
    decltype(&::SetFileAttributesW) SetFileAttributesW;
    decltype(&::CreateDirectoryW) CreateDirectoryW;
    decltype(&::RemoveDirectoryW) RemoveDirectoryW;
    decltype(&::DeleteFileW) DeleteFileW;
    decltype(&::MoveFileW) MoveFileW;
    decltype(&::FindFirstFileW) FindFirstFileW;
    decltype(&::FindNextFileW) FindNextFileW;
    decltype(&::FindClose) FindClose;
    decltype(&::GetFinalPathNameByHandleW) GetFinalPathNameByHandleW;
    decltype(&::GetCurrentDirectoryW) GetCurrentDirectoryW;
    decltype(&::SetFileInformationByHandle) SetFileInformationByHandle;
    decltype(&::_wfopen) wfopen;
    decltype(&::fread) fread;
    decltype(&::fclose) fclose;
    decltype(&::_waccess) waccess;
    decltype(&::MessageBoxW) MessageBoxW;
};
Real real;

HANDLE WINAPI StandInCreateFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                                DWORD disposition, DWORD flags, HANDLE model) {
    if (Fails(FileCall::CreateFile, Named(name)))
        return INVALID_HANDLE_VALUE;
    const HANDLE file = real.CreateFileW(name, access, share, sa, disposition, flags, model);
    if (file != INVALID_HANDLE_VALUE)
        seam.opened[file] = Named(name);
    return file;
}

BOOL WINAPI StandInReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got,
                            LPOVERLAPPED overlapped) {
    if (Fails(FileCall::ReadFile)) {
        if (got)
            *got = 0;
        return FALSE;
    }
    return real.ReadFile(file, buffer, size, got, overlapped);
}

BOOL WINAPI StandInWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written,
                             LPOVERLAPPED overlapped) {
    if (Fails(FileCall::WriteFile)) {
        if (seam.plan.short_write && size > 0)
            return real.WriteFile(file, buffer, size - 1, written, overlapped);
        if (written)
            *written = 0;
        return FALSE;
    }
    return real.WriteFile(file, buffer, size, written, overlapped);
}

BOOL WINAPI StandInSetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER at,
                                    DWORD method) {
    if (Fails(FileCall::SetFilePointerEx))
        return FALSE;
    return real.SetFilePointerEx(file, distance, at, method);
}

BOOL WINAPI StandInGetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
    if (Fails(FileCall::GetFileSizeEx))
        return FALSE;
    return real.GetFileSizeEx(file, size);
}

// A close that fails has still closed: the handle is gone either way, as when a deferred
// write fails at close.
BOOL CloseThenFail(FileCall call, BOOL(WINAPI *close)(HANDLE), HANDLE handle) {
    const bool fails = Fails(call);
    const DWORD error = GetLastError();
    const BOOL closed = close(handle);
    if (!fails)
        return closed;
    SetLastError(error);
    return FALSE;
}

BOOL WINAPI StandInCloseHandle(HANDLE handle) {
    seam.opened.erase(handle);
    return CloseThenFail(FileCall::CloseHandle, real.CloseHandle, handle);
}

DWORD WINAPI StandInGetFileType(HANDLE file) {
    if (Fails(FileCall::GetFileType))
        return FILE_TYPE_UNKNOWN;
    return real.GetFileType(file);
}

BOOL WINAPI StandInSetFileTime(HANDLE file, const FILETIME *created, const FILETIME *accessed,
                               const FILETIME *written) {
    if (Fails(FileCall::SetFileTime))
        return FALSE;
    return real.SetFileTime(file, created, accessed, written);
}

DWORD WINAPI StandInGetFileAttributes(LPCWSTR name) {
    if (Fails(FileCall::GetFileAttributes, Named(name)))
        return INVALID_FILE_ATTRIBUTES;
    return real.GetFileAttributesW(name);
}

BOOL WINAPI StandInGetFileAttributesEx(LPCWSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID info) {
    if (Fails(FileCall::GetFileAttributesEx, Named(name)))
        return FALSE;
    return real.GetFileAttributesExW(name, level, info);
}

BOOL WINAPI StandInSetFileAttributes(LPCWSTR name, DWORD attributes) {
    if (Fails(FileCall::SetFileAttributes, Named(name)))
        return FALSE;
    return real.SetFileAttributesW(name, attributes);
}

BOOL WINAPI StandInCreateDirectory(LPCWSTR name, LPSECURITY_ATTRIBUTES sa) {
    if (Fails(FileCall::CreateDirectory, Named(name)))
        return FALSE;
    return real.CreateDirectoryW(name, sa);
}

BOOL WINAPI StandInRemoveDirectory(LPCWSTR name) {
    if (Fails(FileCall::RemoveDirectory, Named(name)))
        return FALSE;
    return real.RemoveDirectoryW(name);
}

BOOL WINAPI StandInDeleteFile(LPCWSTR name) {
    if (Fails(FileCall::DeleteFile, Named(name)))
        return FALSE;
    return real.DeleteFileW(name);
}

BOOL WINAPI StandInMoveFile(LPCWSTR from, LPCWSTR to) {
    if (Fails(FileCall::MoveFile, Named(from) + " -> " + Named(to)))
        return FALSE;
    return real.MoveFileW(from, to);
}

HANDLE WINAPI StandInFindFirstFile(LPCWSTR pattern, LPWIN32_FIND_DATAW found) {
    if (Fails(FileCall::FindFirstFile, Named(pattern)))
        return INVALID_HANDLE_VALUE;
    return real.FindFirstFileW(pattern, found);
}

BOOL WINAPI StandInFindNextFile(HANDLE find, LPWIN32_FIND_DATAW found) {
    if (Fails(FileCall::FindNextFile))
        return FALSE;
    return real.FindNextFileW(find, found);
}

BOOL WINAPI StandInFindClose(HANDLE find) {
    return CloseThenFail(FileCall::FindClose, real.FindClose, find);
}

DWORD WINAPI StandInGetFinalPathNameByHandle(HANDLE file, LPWSTR path, DWORD size, DWORD flags) {
    if (Fails(FileCall::GetFinalPathNameByHandle))
        return 0;
    return real.GetFinalPathNameByHandleW(file, path, size, flags);
}

DWORD WINAPI StandInGetCurrentDirectory(DWORD size, LPWSTR path) {
    if (Fails(FileCall::GetCurrentDirectory))
        return 0;
    return real.GetCurrentDirectoryW(size, path);
}

BOOL WINAPI StandInSetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind,
                                              LPVOID info, DWORD size) {
    const auto opened = seam.opened.find(file);
    const std::string path = opened == seam.opened.end() ? "?" : opened->second;
    const char *what = kind == FileDispositionInfo ? "delete " : "times and attributes ";
    if (Fails(FileCall::SetFileInformationByHandle, what + path))
        return FALSE;
    return real.SetFileInformationByHandle(file, kind, info, size);
}

FILE *__cdecl StandInOpenStream(const wchar_t *name, const wchar_t *mode) {
    if (Fails(FileCall::OpenStream, Named(name))) {
        errno = EACCES;
        return nullptr;
    }
    return real.wfopen(name, mode);
}

size_t __cdecl StandInReadStream(void *buffer, size_t size, size_t count, FILE *stream) {
    if (Fails(FileCall::ReadStream))
        return 0;
    return real.fread(buffer, size, count, stream);
}

int __cdecl StandInCloseStream(FILE *stream) {
    const bool fails = Fails(FileCall::CloseStream);
    const int closed = real.fclose(stream);
    return fails ? EOF : closed;
}

int __cdecl StandInAccess(const wchar_t *name, int mode) {
    if (Fails(FileCall::Access, Named(name))) {
        errno = EACCES;
        return -1;
    }
    return real.waccess(name, mode);
}

int WINAPI StandInMessageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT flags) {
    seam.boxes.push_back({text ? text : L"", caption ? caption : L"", flags});
    return IDOK;
}

struct Patch {
    const char *name;
    void *stand_in;
    void **real;
};

template <typename F> void **Slot(F &f) {
    return reinterpret_cast<void **>(&f);
}

const Patch kPatches[] = {
    {"CreateFileW", reinterpret_cast<void *>(&StandInCreateFile), Slot(real.CreateFileW)},
    {"ReadFile", reinterpret_cast<void *>(&StandInReadFile), Slot(real.ReadFile)},
    {"WriteFile", reinterpret_cast<void *>(&StandInWriteFile), Slot(real.WriteFile)},
    {"SetFilePointerEx", reinterpret_cast<void *>(&StandInSetFilePointerEx),
     Slot(real.SetFilePointerEx)},
    {"GetFileSizeEx", reinterpret_cast<void *>(&StandInGetFileSizeEx), Slot(real.GetFileSizeEx)},
    {"CloseHandle", reinterpret_cast<void *>(&StandInCloseHandle), Slot(real.CloseHandle)},
    {"GetFileType", reinterpret_cast<void *>(&StandInGetFileType), Slot(real.GetFileType)},
    {"SetFileTime", reinterpret_cast<void *>(&StandInSetFileTime), Slot(real.SetFileTime)},
    {"GetFileAttributesW", reinterpret_cast<void *>(&StandInGetFileAttributes),
     Slot(real.GetFileAttributesW)},
    {"GetFileAttributesExW", reinterpret_cast<void *>(&StandInGetFileAttributesEx),
     Slot(real.GetFileAttributesExW)},
    {"SetFileAttributesW", reinterpret_cast<void *>(&StandInSetFileAttributes),
     Slot(real.SetFileAttributesW)},
    {"CreateDirectoryW", reinterpret_cast<void *>(&StandInCreateDirectory),
     Slot(real.CreateDirectoryW)},
    {"RemoveDirectoryW", reinterpret_cast<void *>(&StandInRemoveDirectory),
     Slot(real.RemoveDirectoryW)},
    {"DeleteFileW", reinterpret_cast<void *>(&StandInDeleteFile), Slot(real.DeleteFileW)},
    {"MoveFileW", reinterpret_cast<void *>(&StandInMoveFile), Slot(real.MoveFileW)},
    {"FindFirstFileW", reinterpret_cast<void *>(&StandInFindFirstFile), Slot(real.FindFirstFileW)},
    {"FindNextFileW", reinterpret_cast<void *>(&StandInFindNextFile), Slot(real.FindNextFileW)},
    {"FindClose", reinterpret_cast<void *>(&StandInFindClose), Slot(real.FindClose)},
    {"GetFinalPathNameByHandleW", reinterpret_cast<void *>(&StandInGetFinalPathNameByHandle),
     Slot(real.GetFinalPathNameByHandleW)},
    {"GetCurrentDirectoryW", reinterpret_cast<void *>(&StandInGetCurrentDirectory),
     Slot(real.GetCurrentDirectoryW)},
    {"SetFileInformationByHandle", reinterpret_cast<void *>(&StandInSetFileInformationByHandle),
     Slot(real.SetFileInformationByHandle)},
    {"_wfopen", reinterpret_cast<void *>(&StandInOpenStream), Slot(real.wfopen)},
    {"fread", reinterpret_cast<void *>(&StandInReadStream), Slot(real.fread)},
    {"fclose", reinterpret_cast<void *>(&StandInCloseStream), Slot(real.fclose)},
    {"_waccess", reinterpret_cast<void *>(&StandInAccess), Slot(real.waccess)},
    {"MessageBoxW", reinterpret_cast<void *>(&StandInMessageBox), Slot(real.MessageBoxW)},
};

} // namespace

const char *FileCallName(FileCall call) {
    static const char *const names[] = {
        "CreateFileW",      "ReadFile",         "WriteFile",         "SetFilePointerEx",
        "GetFileSizeEx",    "CloseHandle",      "GetFileType",       "SetFileTime",
        "GetFileAttributesW", "GetFileAttributesExW", "SetFileAttributesW", "CreateDirectoryW",
        "RemoveDirectoryW", "DeleteFileW",      "MoveFileW",         "FindFirstFileW",
        "FindNextFileW",    "FindClose",        "GetFinalPathNameByHandleW",
        "GetCurrentDirectoryW", "SetFileInformationByHandle", "_wfopen", "fread",
        "fclose",           "_waccess",         "any"};
    static_assert(sizeof names / sizeof names[0] == kCalls + 1);
    return names[static_cast<int>(call)];
}

bool InstallFaultSeam(std::string &missing) {
    auto *base = reinterpret_cast<unsigned char *>(GetModuleHandleA(nullptr));
    auto *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    bool patched[sizeof kPatches / sizeof kPatches[0]] = {};
    for (auto *module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + directory.VirtualAddress);
         module->Name != 0; ++module) {
        auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(base + module->OriginalFirstThunk);
        auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const char *name =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData)->Name;
            for (size_t i = 0; i < sizeof kPatches / sizeof kPatches[0]; ++i) {
                if (std::strcmp(name, kPatches[i].name) != 0)
                    continue;
                DWORD was = 0;
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                               &was);
                *kPatches[i].real = reinterpret_cast<void *>(slots->u1.Function);
                slots->u1.Function = reinterpret_cast<decltype(slots->u1.Function)>(
                    kPatches[i].stand_in);
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, was, &was);
                patched[i] = true;
            }
        }
    }
    missing.clear();
    for (size_t i = 0; i < sizeof kPatches / sizeof kPatches[0]; ++i) {
        if (!patched[i])
            missing += std::string(missing.empty() ? "" : ", ") + kPatches[i].name;
    }
    return missing.empty();
}

void Arm(const FaultPlan &plan) {
    seam.plan = plan;
    seam.counted = 0;
    seam.records.clear();
    seam.armed = true;
}

std::vector<CallRecord> Disarm() {
    seam.armed = false;
    return std::move(seam.records);
}

std::vector<ShownBox> TakeShownBoxes() {
    return std::move(seam.boxes);
}

} // namespace korvanta::test
