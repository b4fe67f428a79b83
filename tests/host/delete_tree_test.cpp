#include "host/file_ops.h"

#include "host/handles.h"
#include "tests/support/files.h"
#include "tests/support/wine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace korvanta {
namespace {

using test::Exists;
using test::MakeTree;

class DeleteTreeOnDisk : public ::testing::Test {
protected:
    test::TestFolder folder;
    std::string top = folder / "top";

    void ExpectGone(std::initializer_list<const char *> entries) {
        for (const char *entry : entries)
            EXPECT_FALSE(Exists(top + "\\" + entry)) << entry;
    }
    void ExpectKept(std::initializer_list<const char *> entries) {
        for (const char *entry : entries)
            EXPECT_TRUE(Exists(top + "\\" + entry)) << entry;
    }
};

TEST_F(DeleteTreeOnDisk, WholeTreeGoesAndLeadingSpacesAreSkipped) {
    ASSERT_TRUE(MakeTree(top, {"", "a.txt", "sub\\", "sub\\b.txt", "sub\\deep\\"}));
    EXPECT_TRUE(DeleteTree(("  " + top).c_str()));
    EXPECT_FALSE(Exists(top));
    ASSERT_TRUE(MakeTree(top, {""}));
    EXPECT_TRUE(DeleteTree(top.c_str()));
    EXPECT_FALSE(Exists(top));
}

TEST_F(DeleteTreeOnDisk, NamesBeginningWithAFullStopStay) {
    ASSERT_TRUE(MakeTree(top, {"", "a.txt", "sub\\", "sub\\b.txt", ".hidden", "more\\",
                               "more\\.cache\\", "more\\.cache\\c.txt"}));
    EXPECT_FALSE(DeleteTree(top.c_str()));
    ExpectGone({"a.txt", "sub"});
    ExpectKept({".hidden", "more\\.cache\\c.txt"});
}

// As root too: Wine's DeleteFileA refuses a read-only file whoever asks, as Windows does.
TEST_F(DeleteTreeOnDisk, ReadOnlyFileDeepInTheTreeStays) {
    ASSERT_TRUE(MakeTree(top, {"", "a.txt", "sub\\", "sub\\deep\\", "sub\\deep\\locked.txt",
                               "sub\\deep\\other.txt", "sub\\c.txt", "z.txt"}));
    ASSERT_TRUE(
        SetFileAttributesA((top + "\\sub\\deep\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DeleteTree(top.c_str()));
    EXPECT_EQ(test::ReadAll(top + "\\sub\\deep\\locked.txt"), "sub\\deep\\locked.txt");
    ExpectGone({"a.txt", "sub\\deep\\other.txt", "sub\\c.txt", "z.txt"});
}

TEST_F(DeleteTreeOnDisk, FileHeldOpenWithoutSharingStays) {
    ASSERT_TRUE(MakeTree(top, {"", "sub\\", "sub\\held.txt", "sub\\free.txt", "after.txt"}));
    {
        FileHandle held(CreateFileA((top + "\\sub\\held.txt").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.valid());
        EXPECT_FALSE(DeleteTree(top.c_str()));
        ExpectKept({"sub\\held.txt"});
        ExpectGone({"sub\\free.txt", "after.txt"});
    }
    EXPECT_TRUE(DeleteTree(top.c_str()));
}

TEST_F(DeleteTreeOnDisk, MissingEmptyAndFilePathsAreFalse) {
    for (const char *path : {"", "   ", (const char *)nullptr})
        EXPECT_FALSE(DeleteTree(path));
    EXPECT_FALSE(DeleteTree(top.c_str()));
    ASSERT_TRUE(test::WriteAll(top, "content"));
    EXPECT_FALSE(DeleteTree(top.c_str()));
    EXPECT_EQ(test::ReadAll(top), "content");
}

class DeleteTreeOnDiskLinks : public DeleteTreeOnDisk {
protected:
    void SetUp() override {
        // Targets beside the tree, which nothing may reach through the links.
        ASSERT_TRUE(MakeTree(folder / "outside", {"", "full\\", "full\\f1.txt", "full\\inner\\",
                                                  "full\\inner\\f2.txt", "empty\\", "t.txt"}));
        ASSERT_TRUE(MakeTree(top, {"", "plain.txt", "sub\\", "sub\\s.txt", "clean\\"}));
        ASSERT_TRUE(test::MakeLink(folder / "outside\\full", top + "\\full-link"));
        ASSERT_TRUE(test::MakeLink(folder / "outside\\empty", top + "\\sub\\empty-link"));
        ASSERT_TRUE(test::MakeLink(folder / "outside\\t.txt", top + "\\file-link.txt"));
        // What Wine shows: a directory link is a reparse point, a file link a plain file.
        ASSERT_EQ(GetFileAttributesA((top + "\\full-link").c_str()), DWORD{0x410});
        ASSERT_EQ(GetFileAttributesA((top + "\\file-link.txt").c_str()), DWORD{0x20});
    }
    void TearDown() override {
        for (const char *entry : {"full\\f1.txt", "full\\inner\\f2.txt", "empty\\", "t.txt"})
            EXPECT_TRUE(Exists(folder / "outside\\" + entry)) << entry;
    }
};

// Fault: links inside the tree were entered or removed, deleting what they point to.
TEST_F(DeleteTreeOnDiskLinks, LinksStayAndTheirTargetsAreUntouched) {
    EXPECT_FALSE(DeleteTree(top.c_str()));
    ExpectKept({"full-link", "sub\\empty-link", "file-link.txt"});
    ExpectGone({"plain.txt", "sub\\s.txt", "clean"});
}

// Fault: a path that was itself a link had its target emptied and removed.
TEST_F(DeleteTreeOnDiskLinks, PathThatIsALinkIsRefused) {
    EXPECT_FALSE(DeleteTree((top + "\\full-link").c_str()));
    EXPECT_FALSE(DeleteTree(("  " + top + "\\sub\\empty-link").c_str()));
    ExpectKept({"full-link", "sub\\empty-link"});
}

} // namespace
} // namespace korvanta
