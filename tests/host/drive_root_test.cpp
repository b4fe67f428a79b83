#include "host/file_ops.h"

#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace korvanta {
namespace {

// Touches C:\ itself, so it runs apart from the other tests that share the prefix's state.
TEST(DeleteTreeDriveRoot, DrivesAndRootsAreRefused) {
    const char marker[] = "C:\\korvanta-root-marker.txt";
    ASSERT_TRUE(test::WriteAll(marker, "keep"));
    for (const char *root : {"C:", "C:\\", "  C:\\", " c:"})
        EXPECT_FALSE(DeleteTree(root)) << root;
    EXPECT_EQ(test::ReadAll(marker), "keep");
    EXPECT_TRUE(test::Exists("C:\\windows\\system32"));
    DeleteFileA(marker);
}

} // namespace
} // namespace korvanta
