#include "tests/unzip/file_facts.h"

#include "tests/support/files.h"

namespace korvanta::test {

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
    TestFolder folder;
    const std::string probe = folder / "plain";
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
