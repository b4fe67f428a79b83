#include "host/file_calls.h"

#include "base/wide_win.h"
#include "host/handles.h"

#include <optional>

namespace korvanta {
namespace {

// The path in the form the wide call takes; nothing, with the call's error set, for one that
// is not UTF-8 or does not fit MAX_PATH. Windows' plain wide calls find nothing at a longer
// path (ERROR_PATH_NOT_FOUND), and Wine's take it: the limit is kept here, so that the program
// acts alike on both.
std::optional<std::wstring> WidePath(const char *path) {
    std::optional<std::wstring> wide = ToWide(path);
    if (!wide) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    } else if (wide->size() >= MAX_PATH) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        wide.reset();
    }
    return wide;
}

} // namespace

HANDLE OpenFileAt(const char *path, DWORD access, DWORD share, SECURITY_ATTRIBUTES *security,
                  DWORD disposition, DWORD flags) {
    const std::optional<std::wstring> wide = WidePath(path);
    if (!wide)
        return INVALID_HANDLE_VALUE;
    return CreateFileW(wide->c_str(), access, share, security, disposition, flags, nullptr);
}

bool CreateFolderAt(const char *path) {
    const std::optional<std::wstring> wide = WidePath(path);
    return wide && CreateDirectoryW(wide->c_str(), nullptr) != FALSE;
}

bool MovePath(const char *from, const char *to) {
    const std::optional<std::wstring> wide_from = WidePath(from);
    if (!wide_from)
        return false;
    const std::optional<std::wstring> wide_to = WidePath(to);
    return wide_to && MoveFileW(wide_from->c_str(), wide_to->c_str()) != FALSE;
}

DWORD AttributesAt(const char *path) {
    const std::optional<std::wstring> wide = WidePath(path);
    return wide ? GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool AttributeDataAt(const char *path, WIN32_FILE_ATTRIBUTE_DATA &data) {
    const std::optional<std::wstring> wide = WidePath(path);
    return wide && GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data) != FALSE;
}

bool SetAttributesAt(const char *path, DWORD attributes) {
    const std::optional<std::wstring> wide = WidePath(path);
    return wide && SetFileAttributesW(wide->c_str(), attributes) != FALSE;
}

bool RemoveFolderAt(const char *path) {
    const std::optional<std::wstring> wide = WidePath(path);
    return wide && RemoveDirectoryW(wide->c_str()) != FALSE;
}

std::string CurrentFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
        if (n == 0)
            return {};
        if (n < folder.size()) {
            folder.resize(n);
            break;
        }
        folder.resize(n); // n is the size needed, terminator included
    }
    return FromWide(folder).value_or(std::string());
}

std::string FinalPathOf(HANDLE file) {
    std::wstring location(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(file, location.data(),
                                                  static_cast<DWORD>(location.size()), 0);
        if (n == 0)
            return {};
        if (n < location.size()) {
            location.resize(n);
            break;
        }
        location.resize(n + 1); // n is the size needed, terminator included
    }
    return FromWide(location).value_or(std::string());
}

bool ListFolder(const std::string &folder, std::vector<FolderEntry> &entries) {
    const std::optional<std::wstring> pattern = WidePath((folder + "\\*.*").c_str());
    if (!pattern)
        return false;
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileW(pattern->c_str(), &found));
    if (!find.valid())
        return false;
    bool whole = true;
    do {
        std::optional<std::string> name = FromWide(found.cFileName);
        if (!name) {
            whole = false;
            continue;
        }
        entries.push_back({std::move(*name), found.dwFileAttributes,
                           (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
                           TicksOf(found.ftLastWriteTime)});
    } while (FindNextFileW(find.get(), &found));
    const bool ended = GetLastError() == ERROR_NO_MORE_FILES;
    find.Close();
    return whole && ended;
}

} // namespace korvanta
