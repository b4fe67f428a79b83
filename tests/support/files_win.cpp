#include "tests/support/files.h"

#include "host/handles.h"
#include "tests/support/process.h"
#include "tests/support/wine.h"
#include "tests/support/windows.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace korvanta::test {
namespace {

std::string Quoted(const std::string &text) { // inside RunUnix's double-quoted script
    return "'" + text + "'";
}

// Paths in the tests are UTF-8, as in the program; the calls are the wide ones.
std::wstring W(const std::string &path) {
    return Widen(path, CP_UTF8);
}

std::string TempPath() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return Utf8(temp);
}

// Depth first; a file is deleted as it is and only cleared of its attributes when that
// fails, which keeps thousands of removals quick.
void RemoveWindowsSide(const std::string &path) {
    const DWORD attributes = GetFileAttributesW(W(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // From the Windows side, removing a link to an empty folder removes the folder.
        RunUnix("rm -f " + Quoted(UnixPath(path)));
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (!DeleteFileW(W(path).c_str())) {
            SetFileAttributesW(W(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(W(path).c_str());
        }
        return;
    }
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileW(W(path + "\\*").c_str(), &found));
    if (find.valid()) {
        do {
            const std::string name = Utf8(found.cFileName);
            if (name != "." && name != "..")
                RemoveWindowsSide(path + "\\" + name);
        } while (FindNextFileW(find.get(), &found));
    }
    find.Close();
    RemoveDirectoryW(W(path).c_str());
}

void List(const std::string &root, const std::string &relative,
          const std::function<bool(const std::string &)> &enter, std::vector<TreeEntry> &out) {
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileW(W(root + "\\" + relative + "*").c_str(), &found));
    if (!find.valid())
        return;
    do {
        const std::string name = Utf8(found.cFileName);
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const std::string folder = relative + name + "\\";
            out.push_back({folder});
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                (!enter || enter(folder)))
                List(root, folder, enter, out);
        } else {
            out.push_back({relative + name,
                           uint64_t{found.nFileSizeHigh} << 32 | found.nFileSizeLow,
                           uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32 |
                               found.ftLastWriteTime.dwLowDateTime});
        }
    } while (FindNextFileW(find.get(), &found));
}

} // namespace

std::wstring Widen(const std::string &text, unsigned code_page) {
    std::wstring wide(text.size() + 1, L'\0');
    int n = MultiByteToWideChar(code_page, 0, text.c_str(), -1, wide.data(),
                                static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    return wide;
}

TestFolder::TestFolder() {
    static std::atomic<int> serial{0};
    path_ = TempPath() + "kvt-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(serial++);
    RemoveTree(path_);
    CreateDirectoryW(W(path_).c_str(), nullptr);
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    previous_ = Utf8(current);
    SetCurrentDirectoryW(W(path_).c_str());
}

TestFolder::~TestFolder() {
    SetCurrentDirectoryW(W(previous_).c_str());
    RemoveTree(path_);
}

std::string TestFolder::operator/(std::string_view relative) const {
    return path_ + "\\" + std::string(relative);
}

bool Exists(const std::string &path) {
    return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const std::string &path) {
    FileHandle file(CreateFileW(W(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file.valid())
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

bool WriteAll(const std::string &path, std::string_view bytes) {
    FileHandle file(CreateFileW(W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.valid() &&
           (bytes.empty() || WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                       &written, nullptr)) &&
           written == bytes.size() && file.Close();
}

void RemoveTree(const std::string &path) {
    RemoveWindowsSide(path);
    // A file link looks like a plain file, and what deleting it left is for rm, which never
    // follows a link.
    if (Exists(path))
        RunUnix("rm -rf " + Quoted(UnixPath(path)));
}

std::vector<TreeEntry> ListTreeEntries(const std::string &root,
                                       const std::function<bool(const std::string &)> &enter) {
    std::vector<TreeEntry> entries;
    List(root, "", enter, entries);
    std::sort(entries.begin(), entries.end(),
              [](const TreeEntry &a, const TreeEntry &b) { return a.path < b.path; });
    return entries;
}

std::vector<TreeEntry> ListFolder(const std::string &folder) {
    return ListTreeEntries(folder, [](const std::string &) { return false; });
}

std::vector<std::string> ListTree(const std::string &root, const std::string &skip) {
    std::vector<std::string> paths;
    for (const TreeEntry &entry :
         ListTreeEntries(root, [&](const std::string &folder) { return folder != skip; }))
        paths.push_back(entry.path);
    return paths;
}

std::string UnixPath(const std::string &windows_path) {
    using ToUnix = char *(CDECL *)(const wchar_t *);
    auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char *unix_path = to_unix ? to_unix(W(windows_path).c_str()) : nullptr;
    std::string result = unix_path ? unix_path : "";
    HeapFree(GetProcessHeap(), 0, unix_path);
    return result;
}

bool RunUnix(const std::string &script) {
    // Wine hands out no waitable handle for a Unix process: the script's last step leaves a
    // marker file, which is waited for instead.
    static std::atomic<int> runs{0};
    const std::string done = TempPath() + "kvt-done-" + std::to_string(GetCurrentProcessId()) +
                             "-" + std::to_string(++runs);
    ChildProcess shell;
    if (!shell.Start("/bin/sh -c \"" + script + "; : > " + Quoted(UnixPath(done)) + "\"", nullptr,
                     CP_UTF8))
        return false;
    shell.Release();
    for (int i = 0; i < 3000 && !Exists(done); ++i)
        Sleep(10);
    return DeleteFileW(W(done).c_str()) != FALSE;
}

bool MakeLink(const std::string &target_path, const std::string &link_path) {
    size_t slash = link_path.rfind('\\');
    std::string link = UnixPath(link_path.substr(0, slash)) + "/" + link_path.substr(slash + 1);
    return RunUnix("ln -s " + Quoted(UnixPath(target_path)) + " " + Quoted(link)) &&
           Exists(link_path);
}

bool MakeTree(const std::string &root, std::initializer_list<const char *> entries) {
    for (std::string entry : entries) {
        std::string path = entry.empty() ? root : root + "\\" + entry;
        bool made = entry.empty() || entry.back() == '\\'
                        ? CreateDirectoryW(W(path).c_str(), nullptr) != FALSE
                        : WriteAll(path, entry);
        if (!made)
            return false;
    }
    return true;
}

} // namespace korvanta::test
