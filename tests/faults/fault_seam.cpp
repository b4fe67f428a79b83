#include "tests/faults/fault_seam.h"

#include "tests/support/windows.h"

#include <io.h>

#include <cstdio>
#include <cstring>

namespace korvanta::test {
namespace {

constexpr int kCalls = static_cast<int>(FileCall::Any);

struct Seam {
    bool armed = false;
    FaultPlan plan;
    uint32_t counted = 0;
    std::vector<CallRecord> records;
    std::vector<ShownBox> boxes;
};
Seam seam;

// Whether this call fails; SetLastError has been called when it does.
bool Fails(FileCall call, const char *subject = nullptr) {
    if (!seam.armed)
        return false;
    bool failed = false;
    if (seam.plan.which == FileCall::Any || seam.plan.which == call) {
        ++seam.counted;
        failed = seam.plan.nth != 0 && (seam.counted == seam.plan.nth ||
                                        (seam.plan.and_after && seam.counted > seam.plan.nth));
    }
    seam.records.push_back({call, subject ? subject : "", failed});
    if (failed)
        SetLastError(seam.plan.error);
    return failed;
}

// The real functions, taken from the import table as it was.
struct Real {
    decltype(&::CreateFileA) CreateFileA;
    decltype(&::ReadFile) ReadFile;
    decltype(&::WriteFile) WriteFile;
    decltype(&::SetFilePointerEx) SetFilePointerEx;
    decltype(&::GetFileSizeEx) GetFileSizeEx;
    decltype(&::CloseHandle) CloseHandle;
    decltype(&::GetFileType) GetFileType;
    decltype(&::SetFileTime) SetFileTime;
    decltype(&::GetFileAttributesA) GetFileAttributesA;
    decltype(&::GetFileAttributesExA) GetFileAttributesExA;
    decltype(&::SetFileAttributesA) SetFileAttributesA;
    decltype(&::CreateDirectoryA) CreateDirectoryA;
    decltype(&::RemoveDirectoryA) RemoveDirectoryA;
    decltype(&::DeleteFileA) DeleteFileA;
    decltype(&::MoveFileA) MoveFileA;
    decltype(&::FindFirstFileA) FindFirstFileA;
    decltype(&::FindNextFileA) FindNextFileA;
    decltype(&::FindClose) FindClose;
    decltype(&::GetFinalPathNameByHandleA) GetFinalPathNameByHandleA;
    decltype(&::GetCurrentDirectoryA) GetCurrentDirectoryA;
    decltype(&::fopen) fopen;
    decltype(&::fread) fread;
    decltype(&::fclose) fclose;
    decltype(&::_access) access;
    decltype(&::MessageBoxA) MessageBoxA;
};
Real real;

HANDLE WINAPI StandInCreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                                DWORD disposition, DWORD flags, HANDLE model) {
    if (Fails(FileCall::CreateFile, name))
        return INVALID_HANDLE_VALUE;
    return real.CreateFileA(name, access, share, sa, disposition, flags, model);
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

DWORD WINAPI StandInGetFileAttributes(LPCSTR name) {
    if (Fails(FileCall::GetFileAttributes, name))
        return INVALID_FILE_ATTRIBUTES;
    return real.GetFileAttributesA(name);
}

BOOL WINAPI StandInGetFileAttributesEx(LPCSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID info) {
    if (Fails(FileCall::GetFileAttributesEx, name))
        return FALSE;
    return real.GetFileAttributesExA(name, level, info);
}

BOOL WINAPI StandInSetFileAttributes(LPCSTR name, DWORD attributes) {
    if (Fails(FileCall::SetFileAttributes, name))
        return FALSE;
    return real.SetFileAttributesA(name, attributes);
}

BOOL WINAPI StandInCreateDirectory(LPCSTR name, LPSECURITY_ATTRIBUTES sa) {
    if (Fails(FileCall::CreateDirectory, name))
        return FALSE;
    return real.CreateDirectoryA(name, sa);
}

BOOL WINAPI StandInRemoveDirectory(LPCSTR name) {
    if (Fails(FileCall::RemoveDirectory, name))
        return FALSE;
    return real.RemoveDirectoryA(name);
}

BOOL WINAPI StandInDeleteFile(LPCSTR name) {
    if (Fails(FileCall::DeleteFile, name))
        return FALSE;
    return real.DeleteFileA(name);
}

BOOL WINAPI StandInMoveFile(LPCSTR from, LPCSTR to) {
    if (Fails(FileCall::MoveFile, (std::string(from) + " -> " + to).c_str()))
        return FALSE;
    return real.MoveFileA(from, to);
}

HANDLE WINAPI StandInFindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
    if (Fails(FileCall::FindFirstFile, pattern))
        return INVALID_HANDLE_VALUE;
    return real.FindFirstFileA(pattern, found);
}

BOOL WINAPI StandInFindNextFile(HANDLE find, LPWIN32_FIND_DATAA found) {
    if (Fails(FileCall::FindNextFile))
        return FALSE;
    return real.FindNextFileA(find, found);
}

BOOL WINAPI StandInFindClose(HANDLE find) {
    return CloseThenFail(FileCall::FindClose, real.FindClose, find);
}

DWORD WINAPI StandInGetFinalPathNameByHandle(HANDLE file, LPSTR path, DWORD size, DWORD flags) {
    if (Fails(FileCall::GetFinalPathNameByHandle))
        return 0;
    return real.GetFinalPathNameByHandleA(file, path, size, flags);
}

DWORD WINAPI StandInGetCurrentDirectory(DWORD size, LPSTR path) {
    if (Fails(FileCall::GetCurrentDirectory))
        return 0;
    return real.GetCurrentDirectoryA(size, path);
}

FILE *__cdecl StandInOpenStream(const char *name, const char *mode) {
    if (Fails(FileCall::OpenStream, name)) {
        errno = EACCES;
        return nullptr;
    }
    return real.fopen(name, mode);
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

int __cdecl StandInAccess(const char *name, int mode) {
    if (Fails(FileCall::Access, name)) {
        errno = EACCES;
        return -1;
    }
    return real.access(name, mode);
}

int WINAPI StandInMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT flags) {
    seam.boxes.push_back({AsShown(text ? text : ""), AsShown(caption ? caption : ""), flags});
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
    {"CreateFileA", reinterpret_cast<void *>(&StandInCreateFile), Slot(real.CreateFileA)},
    {"ReadFile", reinterpret_cast<void *>(&StandInReadFile), Slot(real.ReadFile)},
    {"WriteFile", reinterpret_cast<void *>(&StandInWriteFile), Slot(real.WriteFile)},
    {"SetFilePointerEx", reinterpret_cast<void *>(&StandInSetFilePointerEx),
     Slot(real.SetFilePointerEx)},
    {"GetFileSizeEx", reinterpret_cast<void *>(&StandInGetFileSizeEx), Slot(real.GetFileSizeEx)},
    {"CloseHandle", reinterpret_cast<void *>(&StandInCloseHandle), Slot(real.CloseHandle)},
    {"GetFileType", reinterpret_cast<void *>(&StandInGetFileType), Slot(real.GetFileType)},
    {"SetFileTime", reinterpret_cast<void *>(&StandInSetFileTime), Slot(real.SetFileTime)},
    {"GetFileAttributesA", reinterpret_cast<void *>(&StandInGetFileAttributes),
     Slot(real.GetFileAttributesA)},
    {"GetFileAttributesExA", reinterpret_cast<void *>(&StandInGetFileAttributesEx),
     Slot(real.GetFileAttributesExA)},
    {"SetFileAttributesA", reinterpret_cast<void *>(&StandInSetFileAttributes),
     Slot(real.SetFileAttributesA)},
    {"CreateDirectoryA", reinterpret_cast<void *>(&StandInCreateDirectory),
     Slot(real.CreateDirectoryA)},
    {"RemoveDirectoryA", reinterpret_cast<void *>(&StandInRemoveDirectory),
     Slot(real.RemoveDirectoryA)},
    {"DeleteFileA", reinterpret_cast<void *>(&StandInDeleteFile), Slot(real.DeleteFileA)},
    {"MoveFileA", reinterpret_cast<void *>(&StandInMoveFile), Slot(real.MoveFileA)},
    {"FindFirstFileA", reinterpret_cast<void *>(&StandInFindFirstFile), Slot(real.FindFirstFileA)},
    {"FindNextFileA", reinterpret_cast<void *>(&StandInFindNextFile), Slot(real.FindNextFileA)},
    {"FindClose", reinterpret_cast<void *>(&StandInFindClose), Slot(real.FindClose)},
    {"GetFinalPathNameByHandleA", reinterpret_cast<void *>(&StandInGetFinalPathNameByHandle),
     Slot(real.GetFinalPathNameByHandleA)},
    {"GetCurrentDirectoryA", reinterpret_cast<void *>(&StandInGetCurrentDirectory),
     Slot(real.GetCurrentDirectoryA)},
    {"fopen", reinterpret_cast<void *>(&StandInOpenStream), Slot(real.fopen)},
    {"fread", reinterpret_cast<void *>(&StandInReadStream), Slot(real.fread)},
    {"fclose", reinterpret_cast<void *>(&StandInCloseStream), Slot(real.fclose)},
    {"_access", reinterpret_cast<void *>(&StandInAccess), Slot(real.access)},
    {"MessageBoxA", reinterpret_cast<void *>(&StandInMessageBox), Slot(real.MessageBoxA)},
};

} // namespace

const char *FileCallName(FileCall call) {
    static const char *const names[] = {
        "CreateFileA",      "ReadFile",         "WriteFile",         "SetFilePointerEx",
        "GetFileSizeEx",    "CloseHandle",      "GetFileType",       "SetFileTime",
        "GetFileAttributesA", "GetFileAttributesExA", "SetFileAttributesA", "CreateDirectoryA",
        "RemoveDirectoryA", "DeleteFileA",      "MoveFileA",         "FindFirstFileA",
        "FindNextFileA",    "FindClose",        "GetFinalPathNameByHandleA",
        "GetCurrentDirectoryA", "fopen",        "fread",             "fclose",
        "_access",          "any"};
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
