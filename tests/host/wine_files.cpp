#include "tests/host/wine_files.h"

#include "host/handles.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace korvanta::testing {
namespace {

const char kTestRoot[] = "C:\\korvanta-host-tests";

std::wstring Widen(const std::string &text, UINT code_page) {
    std::wstring wide(text.size() + 1, L'\0');
    int n = MultiByteToWideChar(code_page, 0, text.c_str(), -1, wide.data(),
                                static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    return wide;
}

std::string UnixPath(const std::string &windows_path) {
    using ToUnix = char *(CDECL *)(const wchar_t *);
    auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char *unix_path = to_unix ? to_unix(Widen(windows_path, CP_ACP).c_str()) : nullptr;
    std::string result = unix_path ? unix_path : "";
    HeapFree(GetProcessHeap(), 0, unix_path);
    return result;
}

std::string Quoted(const std::string &text) { // inside RunUnix's double-quoted script
    return "'" + text + "'";
}

} // namespace

TestFolder::TestFolder() {
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::string(kTestRoot) + "\\" + info->test_suite_name() + "-" + info->name();
    CreateDirectoryA(kTestRoot, nullptr);
    RunUnix("rm -rf " + Quoted(UnixPath(path_)));
    CreateDirectoryA(path_.c_str(), nullptr);
}

TestFolder::~TestFolder() {
    RunUnix("rm -rf " + Quoted(UnixPath(path_)));
}

bool RunUnix(const std::string &script) {
    // Wine hands out no waitable handle for a Unix process: the script's last step leaves a
    // marker file, which is waited for instead.
    static int runs = 0;
    std::string done = std::string(kTestRoot) + "\\done-" + std::to_string(GetCurrentProcessId()) +
                       "-" + std::to_string(++runs);
    std::wstring command =
        Widen("/bin/sh -c \"" + script + "; : > " + Quoted(UnixPath(done)) + "\"", CP_UTF8);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    FileHandle process_handle(process.hProcess), thread_handle(process.hThread);
    for (int i = 0; i < 3000 && !Exists(done); ++i)
        Sleep(10);
    return DeleteFileA(done.c_str()) != FALSE;
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
                        ? CreateDirectoryA(path.c_str(), nullptr) != FALSE
                        : MakeFile(path, entry);
        if (!made)
            return false;
    }
    return true;
}

bool MakeFile(const std::string &path, const std::string &content) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.valid() &&
           (content.empty() || WriteFile(file.get(), content.data(),
                                         static_cast<DWORD>(content.size()), &written, nullptr)) &&
           written == content.size() && file.Close();
}

std::string ReadWhole(const std::string &path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid())
        return "<missing>";
    std::string content(GetFileSize(file.get(), nullptr), '\0');
    DWORD n = 0;
    ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &n, nullptr);
    content.resize(n);
    return content;
}

bool Exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace korvanta::testing
