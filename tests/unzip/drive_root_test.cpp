// An empty destination is the root of the current drive. No test may write to the root of a
// real drive, so tests/wine/on-scratch-drive.sh maps a spare drive letter to a scratch folder and
// names it in KORVANTA_SCRATCH_DRIVE; this executable runs only through it.
#include "unzip/archive_extractor.h"

#include "tests/support/files.h"
#include "tests/unzip/zip_builder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace korvanta::test {
namespace {

TEST(EmptyDestination, ExtractsToTheRootOfTheCurrentDrive) {
    char drive[8] = {};
    ASSERT_NE(GetEnvironmentVariableA("KORVANTA_SCRATCH_DRIVE", drive, sizeof drive), 0u)
        << "run through tests/wine/on-scratch-drive.sh";
    const std::string root = std::string(drive) + "\\";
    ASSERT_TRUE(ListTree(root).empty()) << "the scratch drive must start empty";
    ASSERT_TRUE(CreateDirectoryA((root + "work").c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA((root + "work").c_str()));
    ZipBuilder builder;
    builder.AddDirectory("class/");
    builder.Add("class/a.tga", "a");
    ASSERT_TRUE(builder.WriteTo(root + "work\\a.zip"));

    ArchiveExtractor extractor;
    EXPECT_EQ(extractor.ExtractAll("a.zip", ""), 1);
    EXPECT_EQ(ReadAll(root + "class\\a.tga"), "a");
    EXPECT_FALSE(Exists(root + "work\\class"));
}

} // namespace
} // namespace korvanta::test
