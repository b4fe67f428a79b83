// Both icon-set archives the build stages, extracted into empty folders and compared entry
// by entry with what minizip reads from them on its own (fopen-based access, minizip's
// inflate and CRC check): a path independent of the reader under test.
#include "unzip/archive_extractor.h"

#include "tests/support/files.h"
#include "tests/unzip/file_facts.h"

#include "unzip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvanta::test {
namespace {

struct ArchiveContents {
    std::vector<std::string> paths; // as ListTree spells them
    struct File {
        std::string path, data;
        uint32_t dos_date_time;
    };
    std::vector<File> files;
    bool intact = true;
};

ArchiveContents ReadWithMinizip(const char *archive) {
    ArchiveContents contents;
    unzFile zip = unzOpen(archive);
    if (zip == nullptr) {
        contents.intact = false;
        return contents;
    }
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        unz_file_info info;
        char name[260];
        unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        std::string path = name;
        std::replace(path.begin(), path.end(), '/', '\\');
        contents.paths.push_back(path);
        if (path.back() == '\\')
            continue;
        std::string data;
        char buffer[16384];
        int got = 0;
        contents.intact &= unzOpenCurrentFile(zip) == UNZ_OK;
        while ((got = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            data.append(buffer, static_cast<size_t>(got));
        contents.intact &= got == 0 && unzCloseCurrentFile(zip) == UNZ_OK;
        contents.files.push_back({path, std::move(data), static_cast<uint32_t>(info.dosDate)});
    }
    unzClose(zip);
    std::sort(contents.paths.begin(), contents.paths.end());
    return contents;
}

void ExpectSameAsArchive(const char *archive, size_t entries, size_t files) {
    TestFolder scratch;
    const ArchiveContents expected = ReadWithMinizip(archive);
    ASSERT_TRUE(expected.intact) << archive;
    ASSERT_EQ(expected.paths.size(), entries);
    ASSERT_EQ(expected.files.size(), files);
    const std::string out = scratch / "out";
    ArchiveExtractor extractor;
    ASSERT_EQ(extractor.ExtractAll(archive, out.c_str()), 1);
    EXPECT_EQ(ListTree(out), expected.paths);
    const DWORD plain = PlainFileAttributes();
    for (const auto &[path, data, dos] : expected.files) {
        // The entry's DOS time taken as UTC, the same for all three times.
        FILETIME entry_time = {};
        ASSERT_TRUE(DosDateTimeToFileTime(HIWORD(dos), LOWORD(dos), &entry_time)) << path;
        const FileFacts facts = FactsOf(out + "\\" + path);
        EXPECT_EQ(facts.attributes, plain) << path;
        EXPECT_EQ(Ticks(facts.write), Ticks(entry_time)) << path;
        EXPECT_EQ(Ticks(facts.access), Ticks(entry_time)) << path;
        EXPECT_TRUE(ReadAll(out + "\\" + path) == data) << path << " differs";
    }
}

TEST(StagedArchives, ForeignSetExtractsToExactlyItsFiles) {
    ExpectSameAsArchive(KORVANTA_FOREIGN_ZIP_PATH, 323, 322);
}

TEST(StagedArchives, StockSetExtractsToExactlyItsFiles) {
    ExpectSameAsArchive(KORVANTA_STOCK_ZIP_PATH, 325, 324);
}

} // namespace
} // namespace korvanta::test
