#pragma once
// The file facts the extraction tests compare: times and attributes as the platform reports
// them.

#include <windows.h>

#include <cstdint>
#include <string>

namespace korvanta::test {

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
