#include "host/registry_path.h"

#include <gtest/gtest.h>

#include <string>

namespace korvanta {
namespace {

TEST(RegistryRootCode, Table) {
    using R = RegistryRoot;
    const std::pair<int32_t, RegistryRoot> cases[] = {
        {1, R::ClassesRoot},
        {2, R::CurrentConfig},
        {3, R::CurrentUser},
        {4, R::LocalMachine},
        {5, R::Users},
        {0, R::CurrentUser},
        {6, R::CurrentUser},
        {-1, R::CurrentUser},
        {INT32_MIN, R::CurrentUser},
        {static_cast<int32_t>(0x80000002), R::CurrentUser}};
    for (const auto &[code, root] : cases)
        EXPECT_EQ(RootForCode(code), root) << code;
}

TEST(RegistryPathSplit, Table) {
    struct Case {
        std::string path, key, value;
    };
    // 0xB1 0x5C is one GBK character whose second byte is a backslash's.
    const Case cases[] = {
        {"SOFTWARE\\Tencent\\CrossFire\\InstallPath", "SOFTWARE\\Tencent\\CrossFire",
         "InstallPath"},
        {"Software\\Key\\", "Software\\Key", ""},
        {"InstallPath", "", "InstallPath"},
        {"", "", ""},
        {"\\Value", "", "Value"},
        {"A\\\\", "A\\", ""},
        {"Key\\\xB1\x5C", "Key", "\xB1\x5C"},
        {"Key\xB1\x5C", "", "Key\xB1\x5C"},
        {"Dir\\Key\xB1\x5C\\Name\xB1\x5C", "Dir\\Key\xB1\x5C", "Name\xB1\x5C"},
        {"\x81\x5C\x5CV", "\x81\x5C", "V"}, // the next backslash counts again
        {"A\\\xFF\x5C"
         "B",
         "A",
         "\xFF\x5C"
         "B"},                                  // every byte from 0x80 up is a first byte
        {"Key\\Value\xB1", "Key", "Value\xB1"}, // a first byte at the end ends the scan
    };
    for (const Case &c : cases) {
        RegistryPath split = SplitRegistryPath(c.path);
        EXPECT_EQ(split.key + "|" + split.value, c.key + "|" + c.value) << c.path;
    }
}

TEST(RegistryStoredText, EndsAtNulOrAtTheReportedSize) {
    const char data[] = {'a', 'b', '\0', 'c', 'd', 'X'};
    EXPECT_EQ(StoredText(data, 5), "ab");
    EXPECT_EQ(StoredText(data + 3, 2), "cd");
    EXPECT_EQ(StoredText(data, 0), "");
}

} // namespace
} // namespace korvanta
