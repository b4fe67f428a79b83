#include "tests/unzip/scratch.h"

#include "host/handles.h"

#include <algorithm>
#include <atomic>

namespace korvanta::test {

ScratchDir::ScratchDir() {
    static std::atomic<int> serial{0};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "kvz-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(serial++);
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    previous_ = current;
    SetCurrentDirectoryA(path_.c_str());
}

ScratchDir::~ScratchDir() {
    SetCurrentDirectoryA(previous_.c_str());
    RemoveTree(path_);
}

std::string ScratchDir::operator/(std::string_view relative) const {
    return path_ + "\\" + std::string(relative);
}

bool Exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const std::string &path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
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
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.valid() &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

namespace {

void Walk(const std::string &root, const std::string &relative, std::vector<std::string> &out,
          bool remove) {
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((root + "\\" + relative + "*").c_str(), &found));
    if (!find.valid())
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = relative + name;
        std::string full = root + "\\" + path;
        const bool link = found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(path + "\\");
            if (!link)
                Walk(root, path + "\\", out, remove);
            if (remove && !link)
                RemoveDirectoryA(full.c_str());
        } else {
            out.push_back(path);
            if (remove && !link) {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        }
    } while (FindNextFileA(find.get(), &found));
}

} // namespace

void RemoveTree(const std::string &path) {
    std::vector<std::string> seen;
    Walk(path, "", seen, true);
    RemoveDirectoryA(path.c_str());
}

std::vector<std::string> ListTree(const std::string &root) {
    std::vector<std::string> paths;
    Walk(root, "", paths, false);
    std::sort(paths.begin(), paths.end());
    return paths;
}

FILETIME UtcTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    FILETIME time = {};
    SystemTimeToFileTime(&st, &time);
    return time;
}

uint64_t Ticks(const FILETIME &time) {
    return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

DWORD PlainFileAttributes() {
    ScratchDir scratch;
    const std::string probe = scratch / "plain";
    WriteAll(probe, "x");
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    return GetFileAttributesA(probe.c_str());
}

FileFacts FactsOf(const std::string &path) {
    FileFacts facts;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return facts;
    facts.found = true;
    facts.attributes = data.dwFileAttributes;
    facts.creation = data.ftCreationTime;
    facts.access = data.ftLastAccessTime;
    facts.write = data.ftLastWriteTime;
    facts.size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return facts;
}

} // namespace korvanta::test
