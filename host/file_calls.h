#pragma once
// The platform's file and directory calls on the program's paths. Paths inside the program are
// UTF-8; each call here converts its path once (base/wide_win.h) and makes the wide call, so a
// path holds any character Windows allows, whatever the system's code page. A path that is not
// UTF-8 names no file: the call fails with ERROR_NO_UNICODE_TRANSLATION and touches nothing.
// Otherwise each call is the platform's own, with its results and its GetLastError.
// A path of MAX_PATH characters (UTF-16 units) or more fails with ERROR_PATH_NOT_FOUND, as the
// platform's plain calls answer it on Windows.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace korvanta {

// CreateFileW, without a template.
HANDLE OpenFileAt(const char *path, DWORD access, DWORD share, SECURITY_ATTRIBUTES *security,
                  DWORD disposition, DWORD flags);
// CreateDirectoryW without security attributes.
bool CreateFolderAt(const char *path);
// MoveFileW: renames a file or folder, or moves it to another folder of the same drive.
bool MovePath(const char *from, const char *to);
// GetFileAttributesW: INVALID_FILE_ATTRIBUTES when nothing can be learned.
DWORD AttributesAt(const char *path);
// GetFileAttributesExW's standard information.
bool AttributeDataAt(const char *path, WIN32_FILE_ATTRIBUTE_DATA &data);
bool SetAttributesAt(const char *path, DWORD attributes);
bool RemoveFolderAt(const char *path);

// The process's current directory, or empty when it cannot be learned.
std::string CurrentFolder();

// Where an open file or folder really lies once every link on the way is followed, in the
// platform's canonical spelling; empty when that cannot be learned.
std::string FinalPathOf(HANDLE file);

// A file time as one count of 100-ns intervals since 1601, as listings and handles give it.
inline uint64_t TicksOf(const FILETIME &time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// One entry of a folder listing, as FindFirstFileW/FindNextFileW report it.
struct FolderEntry {
    std::string name;
    uint32_t attributes = 0;
    uint64_t size = 0;
    uint64_t write_time = 0; // FILETIME ticks
};

// Lists the folder's entries matching "\*.*" after the folder, "." and ".." included, in the
// platform's order. The enumeration is closed before this returns. True only when the listing
// reached its end and every name could be given in UTF-8 (Windows names may hold a lone
// surrogate, which names nothing here); the entries that were read stand in `entries` either way.
bool ListFolder(const std::string &folder, std::vector<FolderEntry> &entries);

} // namespace korvanta
