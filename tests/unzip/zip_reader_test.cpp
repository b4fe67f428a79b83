#include "unzip/zip_reader.h"

#include "host/handles.h"
#include "tests/support/files.h"
#include "tests/unzip/file_facts.h"
#include "tests/unzip/zip_builder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace korvanta::test {
namespace {

// 2009-01-09 07:23:54, the builder's default DOS time, as a UTC file time.
const FILETIME kDosTime = UtcTime(2009, 1, 9, 7, 23, 54);

class Reader : public ::testing::Test {
protected:
    ZipHandlePtr Open(const ZipBuilder &builder) {
        EXPECT_TRUE(builder.WriteTo(archive_));
        return OpenArchive(archive_.c_str());
    }
    // The code of GetEntry on a one-entry archive.
    uint32_t EntryCode(const ZipBuilder &builder) {
        ZipHandlePtr handle = Open(builder);
        ZipEntry entry;
        return handle ? GetEntry(handle.get(), 0, entry) : 0xdead;
    }
    TestFolder scratch_;
    std::string archive_ = scratch_ / "a.zip";
};

TEST_F(Reader, OpensOnlyReadableArchives) {
    EXPECT_EQ(OpenArchive((scratch_ / "missing.zip").c_str()), nullptr);
    ASSERT_TRUE(WriteAll(scratch_ / "text.zip", std::string(100, 'x')));
    EXPECT_EQ(OpenArchive((scratch_ / "text.zip").c_str()), nullptr);
    ZipBuilder builder;
    builder.Add("a.txt", "a");
    ZipHandlePtr handle = Open(builder);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->kind, kZipHandleReader);
    // The reader shares reading only: nobody may write the archive while it is open.
    FileHandle writer(CreateFileA(archive_.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(writer.valid());
    EXPECT_EQ(CloseArchive(std::move(handle)), kZipOk);
    // Nor may the reader open an archive somebody is writing.
    writer =
        FileHandle(CreateFileA(archive_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer.valid());
    EXPECT_EQ(OpenArchive(archive_.c_str()), nullptr);
}

TEST_F(Reader, HandleAndIndexChecks) {
    ZipBuilder builder;
    builder.Add("a.txt", "a");
    builder.Add("b.txt", "b");
    ZipHandlePtr handle = Open(builder);
    ASSERT_NE(handle, nullptr);
    ZipEntry entry;
    EXPECT_EQ(GetEntry(nullptr, 0, entry), kZipBadIndex);
    EXPECT_EQ(ExtractEntry(nullptr, 0, "x"), kZipBadIndex);
    EXPECT_EQ(CloseArchive(nullptr), kZipBadIndex);
    EXPECT_EQ(GetEntry(handle.get(), -2, entry), kZipBadIndex);
    EXPECT_EQ(GetEntry(handle.get(), 2, entry), kZipBadIndex);
    EXPECT_EQ(ExtractEntry(handle.get(), 2, "x"), kZipBadIndex);
    EXPECT_FALSE(Exists(scratch_ / "x"));

    ASSERT_EQ(GetEntry(handle.get(), -1, entry), kZipOk);
    EXPECT_EQ(entry.index, 2);
    EXPECT_EQ(entry.name, "");
    EXPECT_EQ(entry.attributes, 0u);
    EXPECT_EQ(entry.uncompressed_size, 0u);
    EXPECT_EQ(Ticks(entry.write_time), 0u);

    handle->kind = 2;
    EXPECT_EQ(GetEntry(handle.get(), 0, entry), kZipBadKind);
    EXPECT_EQ(ExtractEntry(handle.get(), 0, "x"), kZipBadKind);
    EXPECT_EQ(CloseArchive(std::move(handle)), kZipBadKind);
}

TEST_F(Reader, RecordsCarryNameAttributesSizesAndDosTimes) {
    ZipBuilder builder;
    builder.AddDirectory("class/");
    builder.Add("class/BigClass_1.tga", std::string(3000, 'q'));
    ZipHandlePtr handle = Open(builder);
    ASSERT_NE(handle, nullptr);
    ZipEntry dir, file;
    ASSERT_EQ(GetEntry(handle.get(), 0, dir), kZipOk);
    ASSERT_EQ(GetEntry(handle.get(), 1, file), kZipOk);
    EXPECT_EQ(dir.index, 0);
    EXPECT_EQ(dir.name, "class/");
    EXPECT_EQ(dir.attributes, 0x91u);
    EXPECT_EQ(file.index, 1);
    EXPECT_EQ(file.name, "class/BigClass_1.tga");
    EXPECT_EQ(file.attributes, 0xa1u);
    EXPECT_EQ(file.uncompressed_size, 3000u);
    EXPECT_EQ(file.compressed_size, Deflate(std::string(3000, 'q')).size());
    // The DOS time is the file time as it stands: no time-zone step.
    for (const FILETIME &t : {file.access_time, file.creation_time, file.write_time})
        EXPECT_EQ(Ticks(t), Ticks(kDosTime));
}

TEST_F(Reader, ExtendedTimestampReplacesOnlyTheTimesItCarries) {
    const uint32_t y2010 = 1262304000, y2011 = 1293840000, y2012 = 1325376000;
    ZipBuilder builder;
    builder.Add("w.txt", "w").local_extra = UtBlock(1, {y2010});
    builder.Add("all.txt", "a").local_extra =
        std::string("\x0a\x00\x02\x00zz", 6) + UtBlock(7, {y2010, y2011, y2012});
    builder.Add("short.txt", "s").local_extra = UtBlock(7, {y2010, y2011, y2012}, 5);
    builder.Add("old.txt", "o").local_extra = UtBlock(1, {0x80000000u}); // before 1970
    ZipHandlePtr handle = Open(builder);
    ASSERT_NE(handle, nullptr);
    ZipEntry w, all, shortened, old;
    ASSERT_EQ(GetEntry(handle.get(), 0, w), kZipOk);
    EXPECT_EQ(Ticks(w.write_time), Ticks(UtcTime(2010, 1, 1, 0, 0, 0)));
    EXPECT_EQ(Ticks(w.access_time), Ticks(kDosTime));
    EXPECT_EQ(Ticks(w.creation_time), Ticks(kDosTime));
    ASSERT_EQ(GetEntry(handle.get(), 1, all), kZipOk);
    EXPECT_EQ(Ticks(all.write_time), Ticks(UtcTime(2010, 1, 1, 0, 0, 0)));
    EXPECT_EQ(Ticks(all.access_time), Ticks(UtcTime(2011, 1, 1, 0, 0, 0)));
    EXPECT_EQ(Ticks(all.creation_time), Ticks(UtcTime(2012, 1, 1, 0, 0, 0)));
    // A block that announces three times but holds one gives that one.
    ASSERT_EQ(GetEntry(handle.get(), 2, shortened), kZipOk);
    EXPECT_EQ(Ticks(shortened.write_time), Ticks(UtcTime(2010, 1, 1, 0, 0, 0)));
    EXPECT_EQ(Ticks(shortened.access_time), Ticks(kDosTime));
    EXPECT_EQ(GetEntry(handle.get(), 3, old), kZipBadTimestamp);
}

TEST_F(Reader, CursorRewindsForEarlierEntries) {
    ZipBuilder builder;
    for (const char *name : {"a.txt", "b.txt", "c.txt"})
        builder.Add(name, std::string("content of ") + name);
    ZipHandlePtr handle = Open(builder);
    ASSERT_NE(handle, nullptr);
    ZipEntry entry;
    for (int index : {2, 0, 1, 1, 2, 0}) {
        ASSERT_EQ(GetEntry(handle.get(), index, entry), kZipOk);
        EXPECT_EQ(entry.name[0], "abc"[index]);
        EXPECT_EQ(entry.index, index);
    }
    // The cache holds entry 0 now; extracting entry 2 must still write entry 2.
    ASSERT_EQ(ExtractEntry(handle.get(), 2, (scratch_ / "out.txt").c_str()), kZipOk);
    EXPECT_EQ(ReadAll(scratch_ / "out.txt"), "content of c.txt");
    ASSERT_EQ(ExtractEntry(handle.get(), 0, (scratch_ / "out.txt").c_str()), kZipOk);
    EXPECT_EQ(ReadAll(scratch_ / "out.txt"), "content of a.txt");
}

TEST_F(Reader, LocalHeaderMustAgreeWithTheCentralRecord) {
    auto code = [this](auto fault) {
        ZipBuilder builder;
        fault(builder.Add("entry.txt", "payload"));
        return EntryCode(builder);
    };
    EXPECT_EQ(code([](ZipEntrySpec &) {}), kZipOk);
    EXPECT_EQ(code([](ZipEntrySpec &e) { e.local_crc = 1; }), kZipBadLocalHeader);
    EXPECT_EQ(code([](ZipEntrySpec &e) { e.local_method = 0; }), kZipBadLocalHeader);
    EXPECT_EQ(code([](ZipEntrySpec &e) { e.local_name = "entry.txt2"; }), kZipBadLocalHeader);
    EXPECT_EQ(code([](ZipEntrySpec &e) { e.method = 12; }), kZipBadLocalHeader); // bzip2
    EXPECT_EQ(code([](ZipEntrySpec &e) { e.method = 14; }), kZipBadLocalHeader);
    // With a data descriptor announced (bit 3) the local CRC and sizes are not compared.
    EXPECT_EQ(code([](ZipEntrySpec &e) {
                  e.flags = 0x0008;
                  e.local_crc = 1;
              }),
              kZipOk);
    // A local extra field that runs past the end of the file cannot be read.
    EXPECT_EQ(code([](ZipEntrySpec &e) { e.local_extra_length = 0xffff; }), kZipBadLocalExtra);
}

TEST_F(Reader, RefusesUnsafeNamesAndEncryptedEntries) {
    auto code = [this](std::string name, uint16_t flags) {
        ZipBuilder builder;
        builder.Add(std::move(name), "x").flags = flags;
        return EntryCode(builder);
    };
    EXPECT_EQ(code("fine.txt", 0), kZipOk);
    EXPECT_EQ(code("../up.txt", 0), kZipRefusedEntry);
    EXPECT_EQ(code("C:\\windows\\x.txt", 0), kZipRefusedEntry);
    EXPECT_EQ(code(std::string("a\0b.txt", 7), 0), kZipRefusedEntry);
    EXPECT_EQ(code(std::string(259, 'n'), 0), kZipOk);
    EXPECT_EQ(code(std::string(260, 'n'), 0), kZipRefusedEntry);
    EXPECT_EQ(code(std::string(400, 'n'), 0), kZipRefusedEntry);
    EXPECT_EQ(code("secret.txt", 0x0001), kZipRefusedEntry);
}

TEST_F(Reader, ParentsOfRelativeTargetsGoUnderTheDirectoryCapturedAtOpen) {
    CreateDirectoryA((scratch_ / "later").c_str(), nullptr);
    ZipBuilder builder;
    builder.AddDirectory("d1/d2/");
    builder.Add("f.txt", "data");
    ZipHandlePtr handle = Open(builder);
    ASSERT_NE(handle, nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA((scratch_ / "later").c_str()));
    // A directory entry's levels are made under the captured directory too.
    EXPECT_EQ(ExtractEntry(handle.get(), 0, "ignored"), kZipOk);
    EXPECT_TRUE(Exists(scratch_ / "d1\\d2"));
    // The parents land under the captured directory, the file relative to the current one,
    // which lacks them.
    EXPECT_EQ(ExtractEntry(handle.get(), 1, "out\\x\\f.txt"), kZipCannotOpen);
    EXPECT_TRUE(Exists(scratch_ / "out\\x"));
    EXPECT_FALSE(Exists(scratch_ / "later\\out"));
    ASSERT_TRUE(SetCurrentDirectoryA(scratch_.path().c_str()));
    EXPECT_EQ(ExtractEntry(handle.get(), 1, "out\\x\\f.txt"), kZipOk);
    EXPECT_EQ(ReadAll(scratch_ / "out\\x\\f.txt"), "data");
}

TEST_F(Reader, WritesLargeEntriesInFullThroughManyChunks) {
    std::string noise;
    uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245 + 12345;
        noise += static_cast<char>(seed >> 24);
    }
    ZipBuilder builder;
    builder.Add("noise.bin", noise);
    builder.Add("noise.raw", noise, 0);
    ZipHandlePtr handle = Open(builder);
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(ExtractEntry(handle.get(), 0, (scratch_ / "n1").c_str()), kZipOk);
    ASSERT_EQ(ExtractEntry(handle.get(), 1, (scratch_ / "n2").c_str()), kZipOk);
    EXPECT_TRUE(ReadAll(scratch_ / "n1") == noise);
    EXPECT_TRUE(ReadAll(scratch_ / "n2") == noise);
}

TEST_F(Reader, DataThatDisagreesWithItsHeadersIsAnError) {
    const std::string data =
        "The quick brown fox jumps over the lazy dog. " + std::string(500, 'z');
    const uint32_t size = static_cast<uint32_t>(data.size());
    const std::string packed = Deflate(data);
    // The CRC of all but the last byte: an entry that declares one byte less is then
    // consistent in itself, and only the surplus data can give it away.
    const uint32_t prefix_crc = Crc32(std::string_view(data).substr(0, size - 1));
    struct Case {
        const char *what;
        uint16_t method;
        std::optional<uint32_t> crc, declared_size;
        std::optional<std::string> bytes;
    } cases[] = {
        {"stored, CRC wrong", 0, 7, {}, {}},
        {"deflated, CRC wrong", 8, 7, {}, {}},
        {"deflated, declares a byte more", 8, {}, size + 1, {}},
        {"deflated, declares a byte less", 8, prefix_crc, size - 1, {}},
        {"deflated, declares a byte less, CRC of all", 8, {}, size - 1, {}},
        {"stored, holds a byte more", 0, prefix_crc, size - 1, {}},
        {"stored, holds a byte more, CRC of all", 0, {}, size - 1, {}},
        {"stored, holds a byte less", 0, {}, size + 1, {}},
        {"deflated, stream cut short", 8, {}, {}, packed.substr(0, packed.size() - 4)},
        {"deflated, not deflate data", 8, {}, {}, std::string(40, '\xff')},
    };
    for (const Case &c : cases) {
        ZipBuilder builder;
        ZipEntrySpec &entry = builder.Add("entry.bin", data, c.method);
        entry.crc = c.crc;
        entry.uncompressed_size = c.declared_size;
        entry.stored_bytes = c.bytes;
        ZipHandlePtr handle = Open(builder);
        ASSERT_NE(handle, nullptr) << c.what;
        ZipEntry record;
        ASSERT_EQ(GetEntry(handle.get(), 0, record), kZipOk) << c.what;
        const std::string target = scratch_ / "entry.bin";
        EXPECT_EQ(ExtractEntry(handle.get(), 0, target.c_str()), kZipDataError) << c.what;
        // A broken file keeps the time it was written at, not the entry's.
        EXPECT_NE(Ticks(FactsOf(target).write), Ticks(kDosTime)) << c.what;
    }
}

TEST_F(Reader, EmptyEntriesOfEitherMethod) {
    ZipBuilder builder;
    builder.Add("stored.txt", "", 0);
    builder.Add("deflated.txt", "", 8);
    builder.Add("nodata.txt", "", 8).stored_bytes = ""; // deflated, without even an end block
    ZipHandlePtr handle = Open(builder);
    ASSERT_NE(handle, nullptr);
    for (int i = 0; i < 3; ++i) {
        const std::string target = scratch_ / std::to_string(i);
        ASSERT_EQ(ExtractEntry(handle.get(), i, target.c_str()), kZipOk) << i;
        FileFacts facts = FactsOf(target);
        EXPECT_EQ(facts.size, 0u);
        EXPECT_EQ(Ticks(facts.write), Ticks(kDosTime));
    }
}

} // namespace
} // namespace korvanta::test
