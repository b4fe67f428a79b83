#include "host/file_ops.h"

#include "host/handles.h"
#include "tests/host/recorded_calls.h"
#include "tests/host/test_blocks.h"
#include "tests/support/files.h"
#include "tests/support/wine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

namespace korvanta {
namespace {

using test::Exists;
using test::FileCall;
using test::OwnedBlock;
using test::ReadAll;

OwnedBlock Block(const std::string &text) {
    return OwnedBlock({text.begin(), text.end()});
}

class WriteBlocksOnDisk : public ::testing::Test {
protected:
    test::TestFolder folder;
    std::string file = folder / "class1.zip";
};

TEST_F(WriteBlocksOnDisk, BlocksFollowEachOtherInAFreshOrTruncatedFile) {
    OwnedBlock empty = Block(""), three = Block("abc"), five = Block("defgh"),
               negative({'x', 'y', 'z'}, -3);
    EXPECT_TRUE(WriteBlocks(file.c_str(), {empty.get()}));
    EXPECT_TRUE(Exists(file));
    EXPECT_EQ(ReadAll(file), "");
    EXPECT_TRUE(WriteBlocks(file.c_str(), {three.get(), negative.get(), nullptr, five.get()}));
    EXPECT_EQ(ReadAll(file), "abcdefgh");
    ASSERT_TRUE(test::WriteAll(file, std::string(10000, 'o')));
    EXPECT_TRUE(WriteBlocks(file.c_str(), {three.get()}));
    EXPECT_EQ(ReadAll(file), "abc");
    EXPECT_TRUE(WriteBlocks(file.c_str(), {empty.get()}));
    EXPECT_TRUE(Exists(file));
    EXPECT_EQ(ReadAll(file), "");
    // The handle is closed: an exclusive open succeeds at once.
    EXPECT_TRUE(
        FileHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr))
            .valid());
}

TEST_F(WriteBlocksOnDisk, OneWritePerBlockOfPositiveLengthInOrder) {
    OwnedBlock first = Block("abc"), second = Block("defgh"), empty = Block(""),
               negative({'x', 'y'}, -2), most_negative({'x'}, INT32_MIN),
               cut({'i', 'i', 'j', 'j'}, 2);
    test::InstallSeam();
    test::Arm({});
    EXPECT_TRUE(WriteBlocks(file.c_str(), {empty.get(), first.get(), negative.get(), nullptr,
                                           second.get(), most_negative.get(), cut.get()}));
    EXPECT_EQ(test::CountOf(test::Disarm(), FileCall::WriteFile), 3);
    EXPECT_EQ(ReadAll(file), "abcdefghii");
}

// The file is left as far as it got, and the write's error outlives the closing.
TEST_F(WriteBlocksOnDisk, FailedOrShortWriteStopsTheRun) {
    OwnedBlock a = Block("ab"), b = Block("c"), c = Block("d");
    test::InstallSeam();
    test::Arm({FileCall::WriteFile, 2, ERROR_DISK_FULL});
    EXPECT_FALSE(WriteBlocks(file.c_str(), {a.get(), b.get(), c.get()}));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_DISK_FULL});
    EXPECT_EQ(test::CountOf(test::Disarm(), FileCall::WriteFile), 2);
    EXPECT_EQ(ReadAll(file), "ab");

    test::FaultPlan falling_short{FileCall::WriteFile, 1};
    falling_short.short_write = true;
    test::Arm(falling_short);
    EXPECT_FALSE(WriteBlocks(file.c_str(), {a.get(), b.get()}));
    EXPECT_EQ(test::CountOf(test::Disarm(), FileCall::WriteFile), 1);
    EXPECT_EQ(ReadAll(file), "a");
}

TEST_F(WriteBlocksOnDisk, ArchiveSizedBlockGoesOutWhole) {
    std::string bytes(1682489, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    OwnedBlock block = Block(bytes);
    EXPECT_TRUE(WriteBlocks(file.c_str(), {block.get()}));
    EXPECT_TRUE(ReadAll(file) == bytes);
}

TEST_F(WriteBlocksOnDisk, FailuresLeaveFilesAsTheyWereAndTellTheError) {
    OwnedBlock block = Block("replacement");
    EXPECT_FALSE(WriteBlocks("", {block.get()}));
    EXPECT_FALSE(WriteBlocks(nullptr, {block.get()}));
    EXPECT_FALSE(WriteBlocks((folder / "missing\\class.zip").c_str(), {block.get()}));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});

    ASSERT_TRUE(test::WriteAll(file, "original"));
    FileHandle holder(
        CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.valid());
    EXPECT_FALSE(WriteBlocks(file.c_str(), {block.get()}));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    holder.Close();
    EXPECT_EQ(ReadAll(file), "original");
}

// Paths count in UTF-16 units, as Windows counts them: a name of three-byte characters that
// fits MAX_PATH is taken whatever its length in bytes, and one unit more names nothing, as on
// Windows, though Wine's wide calls would take it. A name that is not UTF-8 names nothing.
TEST_F(WriteBlocksOnDisk, PathsFitMaxPathInCharactersAndMustBeUtf8) {
    OwnedBlock three = Block("abc");
    // Folders of 60 characters (180 bytes: the Unix side keeps a name to 255), then a name
    // that brings the path to 259 units.
    std::string chars60;
    for (int i = 0; i < 60; ++i)
        chars60 += "图";
    std::string path = folder.path();
    size_t units = folder.path().size();        // the folder is ASCII
    while (MAX_PATH - 1 - units - 1 - 4 > 80) { // the name below stays at 80 or fewer
        path += "\\" + chars60;
        units += 61;
        ASSERT_TRUE(test::MakeTree(path, {""}));
    }
    std::string name;
    for (size_t i = units + 1 + 4; i < MAX_PATH - 1; ++i)
        name += "图";
    const std::string fits = path + "\\" + name + ".zip";
    const std::string longer = path + "\\" + name + "1.zip";
    ASSERT_GT(fits.size(), 2u * MAX_PATH);
    EXPECT_TRUE(WriteBlocks(fits.c_str(), {three.get()}));
    EXPECT_EQ(ReadAll(fits), "abc");
    EXPECT_FALSE(WriteBlocks(longer.c_str(), {three.get()}));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});
    EXPECT_FALSE(Exists(longer));
    const std::string not_utf8 = folder / "\xB1\xEA.zip"; // 标 in GBK
    EXPECT_FALSE(WriteBlocks(not_utf8.c_str(), {three.get()}));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_UNICODE_TRANSLATION});
}

} // namespace
} // namespace korvanta
