// Both archives read back through minizip's unzip interface, the way the program's own
// extractor reads them, then unpacked onto a real file system.

#include "archive_rules.h"
#include "tests/support/zip_entries.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>

using namespace payload_test;
namespace fs = std::filesystem;

namespace {

using korvanta::test::ReadZipEntries;
using korvanta::test::ZipEntries;
using korvanta::test::ZipEntry;

// Both archives are whole: minizip opens them, reaches every record and reads each entry
// intact.
ZipEntries ReadWhole(const std::string &path) {
    ZipEntries read = ReadZipEntries(path);
    EXPECT_TRUE(read.opened) << path;
    EXPECT_TRUE(read.complete) << path;
    for (const ZipEntry &e : read.entries)
        EXPECT_TRUE(e.intact) << e.name;
    return read;
}

class Readback : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        archive = ReadWhole(ArchiveDir() + (GetParam() ? "/stock.zip" : "/foreign.zip"));
    }
    ZipEntries archive;
};

// Field by field the headers are checked raw elsewhere; here minizip has to agree.
TEST_P(Readback, MinizipListsEveryEntryWithoutLocalExtras) {
    const std::string top = Top(GetParam());
    ASSERT_EQ(archive.declared_entries, GetParam() ? 325u : 323u);
    EXPECT_EQ(archive.comment_size, 0u);
    ASSERT_EQ(archive.entries.size(), archive.declared_entries);
    EXPECT_EQ(archive.entries.front().name, top);
    for (const ZipEntry &e : archive.entries) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.local_extra_size, 0); // the times live in the central directory only
        EXPECT_EQ(e.central_extra_size, 36u);
        EXPECT_EQ(e.external_attributes, e.name == top ? 0x10u : 0x20u);
    }
}

TEST_P(Readback, UnpacksIntoOneFolderWithoutSubfolders) {
    const fs::path root = ScratchDir(GetParam() ? "unpack-stock" : "unpack-foreign");
    for (const ZipEntry &e : archive.entries) {
        const fs::path target = root / e.name;
        if (e.name.back() == '/') {
            fs::create_directories(target);
            continue;
        }
        std::ofstream out(target, std::ios::binary);
        out.write(e.data.data(), std::streamsize(e.data.size()));
        ASSERT_TRUE(out.good()) << target;
    }
    std::vector<fs::path> top(fs::directory_iterator(root), {});
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].filename(), GetParam() ? "class2" : "class");
    EXPECT_TRUE(fs::is_directory(top[0]));
    size_t files = 0;
    for (const auto &item : fs::directory_iterator(top[0])) {
        EXPECT_TRUE(item.is_regular_file()) << item.path();
        ++files;
    }
    EXPECT_EQ(files, GetParam() ? 324u : 322u);
    fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(BothSets, Readback, testing::Bool(),
                         [](const auto &p) { return p.param ? "Stock" : "Foreign"; });

TEST(SharedContent, TwentyTwoFilesMatchAndTheNumberedIconsDiffer) {
    std::map<std::string, std::string> foreign, stock;
    for (ZipEntry &e : ReadWhole(ArchiveDir() + "/foreign.zip").entries)
        foreign[e.name.substr(6)] = std::move(e.data);
    for (ZipEntry &e : ReadWhole(ArchiveDir() + "/stock.zip").entries)
        stock[e.name.substr(7)] = std::move(e.data);
    static const std::regex numbered(R"(^(BigClass_|class_|sclass_)([1-9]\d*)\.tga$)");
    int shared = 0, differing = 0;
    for (const auto &[leaf, bytes] : foreign) {
        if (leaf.empty())
            continue;
        SCOPED_TRACE(leaf);
        ASSERT_TRUE(stock.contains(leaf));
        if (IsShared(leaf)) {
            EXPECT_EQ(bytes, stock.at(leaf));
            ++shared;
        } else {
            EXPECT_TRUE(std::regex_match(leaf, numbered));
            EXPECT_NE(bytes, stock.at(leaf));
            ++differing;
        }
    }
    EXPECT_EQ(shared, 22);
    EXPECT_EQ(differing, 300);
}

} // namespace
