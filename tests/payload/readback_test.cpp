// Both archives read back through minizip's unzip interface, the way the program's own
// extractor reads them, then unpacked onto a real file system.

#include "archive_rules.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <unzip.h>

using namespace payload_test;
namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    unz_file_info info;
    int localExtraLength;
    std::vector<uint8_t> data;
};

// Every entry with its data; a failure of minizip anywhere fails the test.
std::vector<Entry> ReadAll(const std::string &path, uLong &globalEntries, uLong &commentSize) {
    std::vector<Entry> entries;
    unzFile uf = unzOpen(path.c_str());
    EXPECT_NE(uf, nullptr) << path;
    if (!uf)
        return entries;
    unz_global_info global;
    EXPECT_EQ(unzGetGlobalInfo(uf, &global), UNZ_OK);
    globalEntries = global.number_entry;
    commentSize = global.size_comment;
    for (int rc = unzGoToFirstFile(uf); rc == UNZ_OK; rc = unzGoToNextFile(uf)) {
        Entry e;
        char name[512];
        EXPECT_EQ(unzGetCurrentFileInfo(uf, &e.info, name, sizeof name, nullptr, 0, nullptr, 0),
                  UNZ_OK);
        e.name = name;
        EXPECT_EQ(unzOpenCurrentFile(uf), UNZ_OK) << name;
        e.localExtraLength = unzGetLocalExtrafield(uf, nullptr, 0);
        e.data.resize(e.info.uncompressed_size);
        if (!e.data.empty()) {
            EXPECT_EQ(unzReadCurrentFile(uf, e.data.data(), static_cast<unsigned>(e.data.size())),
                      static_cast<int>(e.data.size()))
                << name;
        }
        // Closing checks the CRC of what was read.
        EXPECT_EQ(unzCloseCurrentFile(uf), UNZ_OK) << name;
        entries.push_back(std::move(e));
    }
    unzClose(uf);
    return entries;
}

class Readback : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        entries =
            ReadAll(ArchiveDir() + (GetParam() ? "/stock.zip" : "/foreign.zip"), global, comment);
    }
    uLong global = 0, comment = 0;
    std::vector<Entry> entries;
};

// Field by field the headers are checked raw elsewhere; here minizip has to agree.
TEST_P(Readback, MinizipListsEveryEntryWithoutLocalExtras) {
    const std::string top = Top(GetParam());
    ASSERT_EQ(global, GetParam() ? 325u : 323u);
    EXPECT_EQ(comment, 0u);
    ASSERT_EQ(entries.size(), global);
    EXPECT_EQ(entries.front().name, top);
    for (const Entry &e : entries) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.localExtraLength, 0); // the times live in the central directory only
        EXPECT_EQ(e.info.size_file_extra, 36u);
        EXPECT_EQ(e.info.external_fa, e.name == top ? 0x10u : 0x20u);
    }
}

TEST_P(Readback, UnpacksIntoOneFolderWithoutSubfolders) {
    const fs::path root = ScratchDir(GetParam() ? "unpack-stock" : "unpack-foreign");
    for (const Entry &e : entries) {
        const fs::path target = root / e.name;
        if (e.name.back() == '/') {
            fs::create_directories(target);
            continue;
        }
        std::ofstream out(target, std::ios::binary);
        out.write(reinterpret_cast<const char *>(e.data.data()), std::streamsize(e.data.size()));
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
    uLong n = 0, c = 0;
    std::map<std::string, std::vector<uint8_t>> foreign, stock;
    for (Entry &e : ReadAll(ArchiveDir() + "/foreign.zip", n, c))
        foreign[e.name.substr(6)] = std::move(e.data);
    for (Entry &e : ReadAll(ArchiveDir() + "/stock.zip", n, c))
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
