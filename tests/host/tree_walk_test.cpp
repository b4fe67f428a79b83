#include "host/tree_walk.h"

#include <gtest/gtest.h>

namespace korvanta {
namespace {

TEST(DeleteTreeGuard, DriveRootsAndLeadingSpaces) {
    for (const char *root : {"C:", "C:\\", "d:", "1:\\"})
        EXPECT_TRUE(IsDriveRoot(root)) << root;
    for (const char *other : {"C:\\\\", "C:\\x", "C:x", "C:/", "CC:", ":", "", "C", "\\\\s\\c"})
        EXPECT_FALSE(IsDriveRoot(other)) << other;
    EXPECT_STREQ(SkipLeadingSpaces("  D:\\x "), "D:\\x ");
    EXPECT_STREQ(SkipLeadingSpaces("\t D:\\x"), "\t D:\\x");
}

// Fault: links inside the tree were entered and removed, deleting what they point to. Wine
// only ever shows a directory link (0x410); Windows also has hidden junctions and file links.
TEST(DeleteTreeLinks, ReparsePointsAreLinksWhateverElseTheyClaim) {
    const struct {
        uint32_t attributes;
        EntryKind kind;
    } cases[] = {
        {0x10, EntryKind::Directory}, {0x12, EntryKind::Directory}, {0x20, EntryKind::File},
        {0x80, EntryKind::File},      {0x410, EntryKind::Link},     {0x412, EntryKind::Link},
        {0x420, EntryKind::Link},
    };
    for (const auto &c : cases)
        EXPECT_EQ(KindOf(c.attributes), c.kind) << std::hex << c.attributes;
}

// Fault: a file link shown as a plain file (as Wine shows Unix links) was deleted, and with
// it the file it points to outside the tree.
TEST(DeleteTreeLinks, FilesResolvingElsewhere) {
    const struct {
        const char *directory, *name, *entry;
        bool elsewhere;
    } cases[] = {
        {"\\\\?\\C:\\T", "a.txt", "\\\\?\\C:\\T\\a.txt", false},
        {"\\\\?\\C:\\T", "link.txt", "\\\\?\\Z:\\tmp\\target.txt", true},
        {"\\\\?\\C:\\T", "a.txt", "\\\\?\\C:\\T\\b.txt", true},
        // A volume root's location ends in a backslash.
        {"\\\\?\\X:\\", "a.txt", "\\\\?\\X:\\a.txt", false},
        // Either place unknown: the entry is what it claims to be.
        {"\\\\?\\C:\\T", "unknown.txt", "", false},
        {"", "a.txt", "\\\\?\\Z:\\tmp\\target.txt", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LeadsElsewhere(c.directory, c.name, c.entry), c.elsewhere) << c.entry;
}

} // namespace
} // namespace korvanta
