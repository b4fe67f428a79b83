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

TEST(RegistryStoredText, EndsAtNulOrAtTheReportedSize) {
    const char data[] = {'a', 'b', '\0', 'c', 'd', 'X'};
    EXPECT_EQ(StoredText(data, 5), "ab");
    EXPECT_EQ(StoredText(data + 3, 2), "cd");
    EXPECT_EQ(StoredText(data, 0), "");
}

} // namespace
} // namespace korvanta
