#include "host/file_ops.h"

#include "host/handles.h"
#include "tests/host/recorded_calls.h"
#include "tests/support/files.h"
#include "tests/support/wine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace korvanta {
namespace {

using Calls = std::vector<std::string>;
using test::Exists;
using test::FileCall;
using test::MakeTree;

// The listings, their ends, deletions and removals among the recorded calls, in call order.
Calls WalkOf(const std::vector<test::CallRecord> &records) {
    Calls walk;
    for (const test::CallRecord &r : records) {
        if (r.call == FileCall::FindFirstFile)
            walk.push_back("list " + r.subject);
        else if (r.call == FileCall::FindClose)
            walk.push_back("close");
        else if (r.call == FileCall::SetFileInformationByHandle &&
                 r.subject.rfind("delete ", 0) == 0)
            walk.push_back(r.subject); // "delete PATH"
        else if (r.call == FileCall::RemoveDirectory)
            walk.push_back("rmdir " + r.subject);
    }
    return walk;
}

// The names a directory enumerates, in the platform's order, "." and ".." included.
Calls Enumerated(const std::string &directory) {
    Calls names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((directory + "\\*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

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

// Names of no single code page, outside the BMP too, inside a folder of such a name.
TEST_F(DeleteTreeOnDisk, NamesOfAnyCharactersGoWhole) {
    top = top + " 游戏 \u00E9t\u00E9 😀";
    ASSERT_TRUE(MakeTree(top, {"", "图标.txt", "穿越火线\\", "穿越火线\\\u0416😀.tga",
                               "穿越火线\\\u00E9\\", "穿越火线\\\u00E9\\\u00FF.txt"}));
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

// Nothing is read, let alone removed, on the way to refusing: every call would fail.
TEST_F(DeleteTreeOnDisk, RefusedPathsMakeNoFileSystemCall) {
    test::InstallSeam();
    for (const char *path : {(const char *)nullptr, "", "    ", "C:", "C:\\", "  C:\\", " c:"}) {
        test::Arm({FileCall::Any, 1, ERROR_ACCESS_DENIED, true});
        EXPECT_FALSE(DeleteTree(path));
        EXPECT_TRUE(test::Disarm().empty()) << (path ? path : "null");
    }
}

// Each level is listed whole, and its enumeration closed, before anything in it goes; then
// its entries go in the order the platform enumerated them, each directory emptied and
// removed before the next entry. Names beginning with a full stop are never listed into,
// and a deletion that fails stops nothing.
TEST_F(DeleteTreeOnDisk, ListsEachLevelFirstThenGoesDepthFirstInEnumerationOrder) {
    ASSERT_TRUE(MakeTree(top, {"", "z.txt", "sub\\", "sub\\locked.txt", "sub\\b.txt", "sub\\deep\\",
                               "sub\\deep\\c.txt", ".hidden", ".git\\", ".git\\config", "a.txt"}));
    ASSERT_TRUE(SetFileAttributesA((top + "\\sub\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    const auto level = [](const std::string &directory, auto &&self) -> Calls {
        Calls calls{"list " + directory + "\\*.*", "close"};
        for (const std::string &name : Enumerated(directory)) {
            if (name[0] == '.')
                continue;
            const std::string path = directory + "\\" + name;
            if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
                for (const std::string &call : self(path, self))
                    calls.push_back(call);
                calls.push_back("rmdir " + path);
            } else {
                calls.push_back("delete " + path);
            }
        }
        return calls;
    };
    Calls expected = level(top, level);
    expected.push_back("rmdir " + top);
    ASSERT_EQ(expected.size(), 14u); // the whole tree, dot names aside

    test::InstallSeam();
    test::Arm({});
    EXPECT_FALSE(DeleteTree(("  " + top).c_str()));
    EXPECT_EQ(WalkOf(test::Disarm()), expected);
    ExpectKept({".git\\config", ".hidden", "sub\\locked.txt"});
    ExpectGone({"z.txt", "a.txt", "sub\\b.txt", "sub\\deep"});
}

TEST_F(DeleteTreeOnDisk, PathsAreTakenAsGiven) {
    ASSERT_TRUE(MakeTree(top, {"", "a.txt"}));
    test::InstallSeam();
    test::Arm({});
    EXPECT_TRUE(DeleteTree((top + "\\").c_str()));
    EXPECT_EQ(WalkOf(test::Disarm()),
              (Calls{"list " + top + "\\\\*.*", "close", "delete " + top + "\\\\a.txt",
                     "rmdir " + top + "\\"}));
    EXPECT_FALSE(Exists(top));
}

// Where a place cannot be learned, the directory's own or the file's, the file is taken for
// what it claims to be and deleted.
TEST_F(DeleteTreeOnDisk, FileWhosePlaceIsUnknownIsDeleted) {
    test::InstallSeam();
    for (uint32_t failing : {1u, 2u}) {
        ASSERT_TRUE(MakeTree(top, {"", "a.txt"}));
        test::Arm({FileCall::GetFinalPathNameByHandle, failing, ERROR_ACCESS_DENIED});
        EXPECT_TRUE(DeleteTree(top.c_str())) << failing;
        EXPECT_EQ(test::CountOf(test::Disarm(), FileCall::GetFinalPathNameByHandle), int(failing));
        EXPECT_FALSE(Exists(top)) << failing;
    }
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
    test::InstallSeam();
    test::Arm({});
    EXPECT_FALSE(DeleteTree(top.c_str()));
    // Neither listed into nor deleted nor removed.
    for (const std::string &call : WalkOf(test::Disarm()))
        EXPECT_EQ(call.find("link"), std::string::npos) << call;
    ExpectKept({"full-link", "sub\\empty-link", "file-link.txt"});
    ExpectGone({"plain.txt", "sub\\s.txt", "clean"});
}

// Fault: a path that was itself a link had its target emptied and removed.
TEST_F(DeleteTreeOnDiskLinks, PathThatIsALinkIsRefused) {
    test::InstallSeam();
    test::Arm({});
    EXPECT_FALSE(DeleteTree((top + "\\full-link").c_str()));
    EXPECT_FALSE(DeleteTree(("  " + top + "\\sub\\empty-link").c_str()));
    // Its attributes are read, nothing else.
    for (const test::CallRecord &r : test::Disarm())
        EXPECT_EQ(r.call, FileCall::GetFileAttributes) << test::FileCallName(r.call);
    ExpectKept({"full-link", "sub\\empty-link"});
}

} // namespace
} // namespace korvanta
