#pragma once
// Test support under Wine: a private folder per test, and the file facts tests compare.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvanta::test {

// A fresh folder under the temp directory, the current directory while it lives (so no
// relative path of a test reaches the build tree), removed with its contents afterwards.
class ScratchDir {
public:
    ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;
    ~ScratchDir();

    const std::string &path() const { return path_; }
    // The folder followed by "\" and a relative path.
    std::string operator/(std::string_view relative) const;

private:
    std::string path_;
    std::string previous_;
};

bool Exists(const std::string &path);
std::string ReadAll(const std::string &path);
bool WriteAll(const std::string &path, std::string_view bytes);
// Removes a tree, clearing attributes first; reparse points are skipped, never followed.
void RemoveTree(const std::string &path);
// Every path below root, relative to it, folders with a trailing "\", sorted.
std::vector<std::string> ListTree(const std::string &root);

// A UTC calendar time as a file time.
FILETIME UtcTime(int year, int month, int day, int hour, int minute, int second);
uint64_t Ticks(const FILETIME &time);

// What the platform reports for a file whose attributes were set to FILE_ATTRIBUTE_NORMAL:
// 0x80 on Windows; Wine always adds FILE_ATTRIBUTE_ARCHIVE to regular files.
DWORD PlainFileAttributes();

struct FileFacts {
    bool found = false;
    DWORD attributes = 0;
    FILETIME creation = {}, access = {}, write = {};
    uint64_t size = 0;
};
// Attributes, times and size, read without opening the file (reading would move its
// access time).
FileFacts FactsOf(const std::string &path);

} // namespace korvanta::test
