// Both icon-set archives the build stages, extracted into empty folders and compared entry
// by entry with what minizip reads from them on its own (fopen-based access, minizip's
// inflate and CRC check): a path independent of the reader under test.
#include "unzip/archive_extractor.h"

#include "tests/support/files.h"
#include "tests/support/zip_entries.h"
#include "tests/unzip/file_facts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvanta::test {
namespace {

// An entry's name as ListTree spells its path.
std::string ListedPath(std::string name) {
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

bool IsFile(const ZipEntry &entry) {
    return entry.name.back() != '/';
}

void ExpectSameAsArchive(const char *archive, size_t entries, size_t files) {
    TestFolder scratch;
    const ZipEntries expected = ReadZipEntries(archive);
    ASSERT_TRUE(expected.opened && expected.complete) << archive;
    ASSERT_EQ(expected.entries.size(), entries);
    std::vector<std::string> paths;
    for (const ZipEntry &entry : expected.entries)
        paths.push_back(ListedPath(entry.name));
    std::sort(paths.begin(), paths.end());
    ASSERT_EQ(static_cast<size_t>(
                  std::count_if(expected.entries.begin(), expected.entries.end(), IsFile)),
              files);
    const std::string out = scratch / "out";
    ArchiveExtractor extractor;
    ASSERT_EQ(extractor.ExtractAll(archive, out.c_str()), 1);
    EXPECT_EQ(ListTree(out), paths);
    const DWORD plain = PlainFileAttributes();
    for (const ZipEntry &entry : expected.entries) {
        if (!IsFile(entry))
            continue;
        const std::string path = ListedPath(entry.name);
        const uint32_t dos = entry.dos_date_time;
        ASSERT_TRUE(entry.intact) << path;
        // The entry's DOS time taken as UTC, the same for all three times.
        FILETIME entry_time = {};
        ASSERT_TRUE(DosDateTimeToFileTime(HIWORD(dos), LOWORD(dos), &entry_time)) << path;
        const FileFacts facts = FactsOf(out + "\\" + path);
        EXPECT_EQ(facts.attributes, plain) << path;
        EXPECT_EQ(Ticks(facts.write), Ticks(entry_time)) << path;
        EXPECT_EQ(Ticks(facts.access), Ticks(entry_time)) << path;
        EXPECT_TRUE(ReadAll(out + "\\" + path) == entry.data) << path << " differs";
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
