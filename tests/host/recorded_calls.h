#pragma once
// The file-system calls of the host operations as the fault seam records them: a real disk
// under Wine shows what was done, the seam in which order and how often, and fails a chosen
// call where Wine never would.

#include "tests/faults/fault_seam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvanta::test {

// Installs the seam in this executable once; until it is armed, every call passes through.
inline void InstallSeam() {
    static const std::string missing = [] {
        std::string names;
        test::InstallFaultSeam(names); // calls this executable never makes stay unpatched
        return names;
    }();
    for (const char *used :
         {"CreateFileW", "WriteFile", "GetFileAttributesW", "FindFirstFileW", "FindClose",
          "RemoveDirectoryW", "SetFileInformationByHandle", "GetFinalPathNameByHandleW"})
        ASSERT_EQ((", " + missing + ",").find(", " + std::string(used) + ","), std::string::npos)
            << used << " is not patched";
}

inline int CountOf(const std::vector<test::CallRecord> &records, test::FileCall call) {
    return static_cast<int>(std::count_if(records.begin(), records.end(),
                                          [call](const auto &r) { return r.call == call; }));
}

} // namespace korvanta::test
