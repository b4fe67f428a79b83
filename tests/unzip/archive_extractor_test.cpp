#include "unzip/archive_extractor.h"

#include "host/handles.h"
#include "tests/host/recorded_calls.h"
#include "tests/support/files.h"
#include "tests/support/icon_names.h"
#include "tests/support/wine.h"
#include "tests/unzip/file_facts.h"
#include "tests/unzip/zip_builder.h"
#include "unzip/progress.h"
#include "unzip/zip_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace korvanta::test {
namespace {

using Paths = std::vector<std::string>;

const FILETIME kDosTime = UtcTime(2009, 1, 9, 7, 23, 54);

// The progress callback of these tests, found through the extractor's unit pointer as the
// unit's own callback finds its window object.
struct Recorder {
    std::vector<int32_t> percents;
    int cancel_at = -1; // the report at which to ask for a stop
};

void Record(uint32_t current, uint32_t total, ArchiveExtractor &extractor) {
    auto *recorder = static_cast<Recorder *>(extractor.unit);
    recorder->percents.push_back(ProgressPercent(current, total));
    if (static_cast<int>(recorder->percents.size()) - 1 == recorder->cancel_at)
        extractor.RequestCancel();
}

// The layout of the foreign icon set: one directory, 322 files, in byte order of the names.
ZipBuilder ForeignShapedArchive() {
    std::vector<std::string> names = IconNames(false);
    std::sort(names.begin(), names.end());
    ZipBuilder builder;
    builder.AddDirectory("class/");
    for (const std::string &name : names)
        builder.Add("class/" + name, "pixels of " + name);
    return builder;
}

class Extractor : public ::testing::Test {
protected:
    int32_t Extract(const ZipBuilder &builder) {
        EXPECT_TRUE(builder.WriteTo(archive_));
        return Run(archive_.c_str(), dest_.c_str());
    }
    int32_t Run(const char *archive, const char *destination) {
        ArchiveExtractor extractor(&recorder_);
        extractor.SetProgressCallback(Record);
        return extractor.ExtractAll(archive, destination);
    }
    Paths Written() const { return ListTree(dest_); }

    TestFolder scratch_;
    std::string archive_ = scratch_ / "a.zip";
    std::string dest_ = scratch_ / "dest";
    Recorder recorder_;
};

TEST_F(Extractor, ForeignShapedArchiveReports324Times) {
    EXPECT_EQ(Extract(ForeignShapedArchive()), 1);
    const std::vector<int32_t> &p = recorder_.percents;
    ASSERT_EQ(p.size(), 324u);
    EXPECT_EQ(std::vector<int32_t>(p.begin(), p.begin() + 5),
              (std::vector<int32_t>{0, 0, 0, 0, 1}));
    EXPECT_EQ(std::vector<int32_t>(p.end() - 4, p.end()), (std::vector<int32_t>{99, 99, 99, 100}));
    EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
    const Paths written = Written();
    ASSERT_EQ(written.size(), 323u);
    EXPECT_EQ(written.front(), "class\\");
    EXPECT_EQ(ReadAll(dest_ + "\\class\\sclass_99.tga"), "pixels of sclass_99.tga");
}

TEST_F(Extractor, StopAtTheFirstReportLeavesTheFirstEntry) {
    recorder_.cancel_at = 0;
    ArchiveExtractor extractor(&recorder_);
    extractor.SetProgressCallback(Record);
    ASSERT_TRUE(ForeignShapedArchive().WriteTo(archive_));
    EXPECT_EQ(extractor.ExtractAll(archive_.c_str(), dest_.c_str()), 1);
    EXPECT_EQ(recorder_.percents, std::vector<int32_t>{0});
    EXPECT_EQ(Written(), Paths{"class\\"});
    // No reset after a stop: the extractor still shows where it stood.
    EXPECT_TRUE(extractor.cancel_requested());
    EXPECT_EQ(extractor.total(), 323u);
}

TEST_F(Extractor, ProgressStateIsResetBySetProgressCallback) {
    ArchiveExtractor extractor(&recorder_);
    extractor.RequestCancel();
    extractor.SetProgressCallback(Record);
    EXPECT_FALSE(extractor.cancel_requested());
    extractor.NotifyProgress();
    EXPECT_EQ(recorder_.percents.size(), 1u);
    extractor.ResetProgress();
    extractor.NotifyProgress();
    EXPECT_EQ(recorder_.percents.size(), 1u);
}

TEST_F(Extractor, FilesArePlainAndCarryTheEntryTimes) {
    ZipBuilder builder;
    builder.AddDirectory("class/");
    builder.Add("class/dos.tga", "dos");
    builder.Add("class/ut.tga", "ut").local_extra = UtBlock(3, {1262304000, 1293840000});
    builder.Add("class/empty.tga", "");
    ASSERT_EQ(Extract(builder), 1);
    // Times first: reading a file would move its access time.
    for (const char *name : {"dos.tga", "empty.tga"}) {
        FileFacts facts = FactsOf(dest_ + "\\class\\" + name);
        EXPECT_EQ(facts.attributes, PlainFileAttributes()) << name;
        EXPECT_EQ(Ticks(facts.write), Ticks(kDosTime)) << name;
        EXPECT_EQ(Ticks(facts.access), Ticks(kDosTime)) << name;
        EXPECT_EQ(Ticks(facts.creation), Ticks(kDosTime)) << name;
    }
    FileFacts ut = FactsOf(dest_ + "\\class\\ut.tga");
    EXPECT_EQ(ut.attributes, PlainFileAttributes());
    EXPECT_EQ(Ticks(ut.write), Ticks(UtcTime(2010, 1, 1, 0, 0, 0)));
    EXPECT_EQ(Ticks(ut.access), Ticks(UtcTime(2011, 1, 1, 0, 0, 0)));
    EXPECT_EQ(FactsOf(dest_ + "\\class\\empty.tga").size, 0u);
    EXPECT_EQ(ReadAll(dest_ + "\\class\\dos.tga"), "dos");
}

TEST_F(Extractor, DosDateThatDoesNotConvertLeavesTheFileTimesAlone) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    ZipBuilder builder;
    builder.Add("odd.txt", "odd").dos_date = DosDate(2009, 13, 40);
    ASSERT_EQ(Extract(builder), 1);
    FileFacts facts = FactsOf(dest_ + "\\odd.txt");
    ASSERT_TRUE(facts.found);
    EXPECT_GE(Ticks(facts.write), Ticks(UtcTime(now.wYear, now.wMonth, now.wDay, 0, 0, 0)));
}

// The attribute calls of an extraction, by path: a target's attributes are cleared only after
// the platform refused to create it over them.
std::vector<std::string> ClearedAfterARefusal(const std::vector<CallRecord> &records) {
    std::vector<std::string> cleared;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].call != FileCall::SetFileAttributes)
            continue;
        const auto refused = std::find_if(records.begin(), records.begin() + i, [&](auto &r) {
            return r.call == FileCall::CreateFile && r.subject == records[i].subject;
        });
        EXPECT_NE(refused, records.begin() + i) << records[i].subject << " cleared unasked";
        cleared.push_back(records[i].subject);
    }
    return cleared;
}

TEST_F(Extractor, HiddenAndSystemTargetsAreOverwritten) {
    CreateDirectoryA(dest_.c_str(), nullptr);
    for (auto [name, attributes] :
         {std::pair{"h.txt", FILE_ATTRIBUTE_HIDDEN}, std::pair{"s.txt", FILE_ATTRIBUTE_SYSTEM}}) {
        ASSERT_TRUE(WriteAll(dest_ + "\\" + name, "old contents"));
        ASSERT_TRUE(SetFileAttributesA((dest_ + "\\" + name).c_str(), attributes));
    }
    ASSERT_TRUE(WriteAll(dest_ + "\\p.txt", "old contents"));
    ZipBuilder builder;
    builder.Add("h.txt", "new h");
    builder.Add("s.txt", "new s");
    builder.Add("p.txt", "new p");
    InstallSeam();
    Arm({});
    ASSERT_EQ(Extract(builder), 1);
    // Wine lets a create replace a hidden or system file, which Windows refuses: whatever was
    // cleared was cleared after a create, and the plain target never was.
    const std::vector<std::string> cleared = ClearedAfterARefusal(Disarm());
    EXPECT_EQ(std::count(cleared.begin(), cleared.end(), dest_ + "\\p.txt"), 0);
    EXPECT_EQ(FactsOf(dest_ + "\\p.txt").attributes, PlainFileAttributes());
    EXPECT_EQ(FactsOf(dest_ + "\\h.txt").attributes, PlainFileAttributes());
    EXPECT_EQ(FactsOf(dest_ + "\\s.txt").attributes, PlainFileAttributes());
    EXPECT_EQ(ReadAll(dest_ + "\\h.txt"), "new h");
    EXPECT_EQ(ReadAll(dest_ + "\\s.txt"), "new s");
}

// A create refused over a hidden target, as Windows refuses it, is tried once more after the
// attributes were cleared; refused over a plain one, it fails the extraction.
TEST_F(Extractor, ACreateRefusedOverRefusingAttributesIsTriedOnceMore) {
    ZipBuilder builder;
    builder.Add("h.txt", "new h");
    const auto prepare = [&](DWORD attributes) {
        RemoveTree(dest_);
        ASSERT_TRUE(MakeTree(dest_, {""}));
        ASSERT_TRUE(WriteAll(dest_ + "\\h.txt", "old contents"));
        ASSERT_TRUE(SetFileAttributesA((dest_ + "\\h.txt").c_str(), attributes));
    };
    const auto creates = [&](const std::vector<CallRecord> &records) {
        std::vector<size_t> at; // the counts of the target's creates among all creates
        size_t count = 0;
        for (const CallRecord &r : records) {
            if (r.call == FileCall::CreateFile && ++count && r.subject == dest_ + "\\h.txt")
                at.push_back(count);
        }
        return at;
    };
    InstallSeam();
    prepare(FILE_ATTRIBUTE_HIDDEN);
    Arm({});
    ASSERT_EQ(Extract(builder), 1);
    const std::vector<size_t> first = creates(Disarm());
    ASSERT_EQ(first.size(), 1u);

    prepare(FILE_ATTRIBUTE_HIDDEN);
    Arm({FileCall::CreateFile, static_cast<uint32_t>(first[0]), ERROR_ACCESS_DENIED});
    ASSERT_EQ(Extract(builder), 1);
    const std::vector<CallRecord> records = Disarm();
    EXPECT_EQ(creates(records).size(), 2u);
    EXPECT_EQ(ClearedAfterARefusal(records), std::vector<std::string>{dest_ + "\\h.txt"});
    EXPECT_EQ(ReadAll(dest_ + "\\h.txt"), "new h");
    EXPECT_EQ(FactsOf(dest_ + "\\h.txt").attributes, PlainFileAttributes());

    prepare(FILE_ATTRIBUTE_NORMAL);
    Arm({FileCall::CreateFile, static_cast<uint32_t>(first[0]), ERROR_ACCESS_DENIED});
    EXPECT_EQ(Extract(builder), 0);
    EXPECT_EQ(ClearedAfterARefusal(Disarm()), std::vector<std::string>{});
    EXPECT_EQ(ReadAll(dest_ + "\\h.txt"), "old contents");
}

// Wine as root writes over read-only files regardless, so this case proves something only
// when run as an ordinary user: CTest runs it once more as the test user, with
// KORVANTA_READONLY_ENFORCED set, and then the platform's refusal is checked first.
TEST_F(Extractor, ReadOnlyTargetIsOverwritten) {
    CreateDirectoryA(dest_.c_str(), nullptr);
    const std::string target = dest_ + "\\r.txt";
    ASSERT_TRUE(WriteAll(target, "old contents"));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    if (GetEnvironmentVariableA("KORVANTA_READONLY_ENFORCED", nullptr, 0) != 0) {
        ASSERT_FALSE(WriteAll(target, "plain overwrite")) << "read-only is not enforced here";
    }
    ZipBuilder builder;
    builder.Add("r.txt", "new r");
    InstallSeam();
    Arm({});
    ASSERT_EQ(Extract(builder), 1);
    const std::vector<std::string> cleared = ClearedAfterARefusal(Disarm());
    if (GetEnvironmentVariableA("KORVANTA_READONLY_ENFORCED", nullptr, 0) != 0) {
        EXPECT_EQ(cleared, std::vector<std::string>{target});
    }
    EXPECT_EQ(FactsOf(target).attributes, PlainFileAttributes());
    EXPECT_EQ(ReadAll(target), "new r");
}

TEST_F(Extractor, LaterEntryOfTheSameNameWinsAndOtherFilesStay) {
    CreateDirectoryA(dest_.c_str(), nullptr);
    ASSERT_TRUE(WriteAll(dest_ + "\\keep.txt", "mine"));
    ZipBuilder builder;
    builder.Add("twice.txt", "first");
    builder.Add("twice.txt", "second");
    ASSERT_EQ(Extract(builder), 1);
    EXPECT_EQ(ReadAll(dest_ + "\\twice.txt"), "second");
    EXPECT_EQ(ReadAll(dest_ + "\\keep.txt"), "mine");
}

TEST_F(Extractor, TargetHeldOpenWithoutSharingFails) {
    CreateDirectoryA(dest_.c_str(), nullptr);
    CreateDirectoryA((dest_ + "\\class").c_str(), nullptr);
    ASSERT_TRUE(WriteAll(dest_ + "\\class\\b.tga", "held"));
    FileHandle holder(CreateFileA((dest_ + "\\class\\b.tga").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    ZipBuilder builder;
    builder.AddDirectory("class/");
    builder.Add("class/a.tga", "a");
    builder.Add("class/b.tga", "b");
    builder.Add("class/c.tga", "c");
    EXPECT_EQ(Extract(builder), 0);
    EXPECT_EQ(recorder_.percents, (std::vector<int32_t>{0, 25, 100}));
    EXPECT_EQ(Written(), (Paths{"class\\", "class\\a.tga", "class\\b.tga"}));
}

TEST_F(Extractor, RelativeAndSlashSeparatedDestinations) {
    ZipBuilder builder;
    builder.AddDirectory("class/");
    builder.Add("class/a.tga", "a");
    ASSERT_TRUE(builder.WriteTo(archive_));
    // Relative: created under the current directory, the scratch folder.
    EXPECT_EQ(Run(archive_.c_str(), "rel\\out"), 1);
    EXPECT_EQ(ReadAll(scratch_ / "rel\\out\\class\\a.tga"), "a");
    // "/" does not separate levels: a missing parent is not created.
    EXPECT_EQ(Run(archive_.c_str(), "sub/out"), 0);
    EXPECT_FALSE(Exists(scratch_ / "sub"));
    CreateDirectoryA((scratch_ / "sub").c_str(), nullptr);
    EXPECT_EQ(Run(archive_.c_str(), "sub/out"), 1);
    EXPECT_EQ(ReadAll(scratch_ / "sub\\out\\class\\a.tga"), "a");
}

TEST_F(Extractor, AbsoluteTargetWithoutItsParentFails) {
    // The parent is made only by a directory entry ahead of the file: not from the file's
    // own name, not by a directory entry after it, and never under the working directory.
    struct Case {
        const char *what;
        std::vector<std::string> names;
        Paths written;
    } cases[] = {
        {"no directory entry", {"sub/x.txt", "after.txt"}, {}},
        {"directory entry after the file", {"sub/x.txt", "sub/", "after.txt"}, {}},
        {"after a good entry", {"before.txt", "sub/x.txt", "after.txt"}, {"before.txt"}},
    };
    for (const Case &c : cases) {
        RemoveTree(dest_);
        ZipBuilder builder;
        for (const std::string &name : c.names) {
            if (name.back() == '/')
                builder.AddDirectory(name);
            else
                builder.Add(name, "data of " + name);
        }
        EXPECT_EQ(Extract(builder), 0) << c.what;
        EXPECT_EQ(Written(), c.written) << c.what;
        // The scratch folder is the working directory: nothing may appear beside the
        // destination.
        Paths everything = {"a.zip", "dest\\"};
        for (const std::string &path : c.written)
            everything.push_back("dest\\" + path);
        EXPECT_EQ(ListTree(scratch_.path()), everything) << c.what;
    }
}

TEST_F(Extractor, ArchivesThatAreNoArchives) {
    CreateDirectoryA((scratch_ / "folder.zip").c_str(), nullptr);
    ASSERT_TRUE(WriteAll(scratch_ / "short.zip", "PK\x03\x04short"));
    ASSERT_TRUE(WriteAll(scratch_ / "text.zip", std::string(64, 't')));
    for (const char *name : {"folder.zip", "short.zip", "text.zip"}) {
        recorder_.percents.clear();
        const std::string dest = scratch_ / (std::string("out-") + name);
        EXPECT_EQ(Run((scratch_ / name).c_str(), dest.c_str()), 0) << name;
        EXPECT_EQ(recorder_.percents, std::vector<int32_t>{0}) << name;
        // The destination was made before the archive was looked at.
        EXPECT_TRUE(Exists(dest)) << name;
    }
}

TEST_F(Extractor, MissingOrAbsentArgumentsAnswerMinusOne) {
    EXPECT_EQ(Run((scratch_ / "missing.zip").c_str(), dest_.c_str()), -1);
    EXPECT_EQ(recorder_.percents, std::vector<int32_t>{0});
    EXPECT_FALSE(Exists(dest_));
    recorder_.percents.clear();
    ZipBuilder builder;
    builder.Add("a.txt", "a");
    ASSERT_TRUE(builder.WriteTo(archive_));
    EXPECT_EQ(Run(nullptr, dest_.c_str()), -1);
    EXPECT_EQ(Run(archive_.c_str(), nullptr), -1);
    EXPECT_TRUE(recorder_.percents.empty());
    EXPECT_FALSE(Exists(dest_));
}

TEST_F(Extractor, FirstEntryWithAnEmptyNameFailsTheSignatureTest) {
    ZipBuilder builder;
    builder.Add("", "x");
    builder.Add("a.txt", "a");
    EXPECT_EQ(Extract(builder), 0);
    EXPECT_EQ(Written(), Paths{});
}

// Fault mended: names with "..", drive prefixes, device names and the like were joined to
// the destination as they stood, and encrypted bytes went to the file as they were.
TEST_F(Extractor, RefusedEntriesLeaveNothingWritten) {
    struct Case {
        std::string what;
        std::function<void(ZipBuilder &)> add_bad;
    };
    std::vector<Case> cases = {
        {"encrypted", [](ZipBuilder &b) { b.Add("ok/secret.txt", "bad").flags = 1; }},
        {"local header disagrees", [](ZipBuilder &b) { b.Add("ok/x.txt", "bad").local_crc = 1; }},
        {"bzip2", [](ZipBuilder &b) { b.Add("ok/x.txt", "bad").method = 12; }},
        {"unreadable local extra",
         [](ZipBuilder &b) { b.Add("ok/x.txt", "bad").local_extra_length = 0xffff; }},
        {"time before 1970",
         [](ZipBuilder &b) { b.Add("ok/x.txt", "bad").local_extra = UtBlock(1, {0xffffff00u}); }},
        // A name is taken in its own encoding or not at all: never as other characters.
        {"not GBK", [](ZipBuilder &b) { b.Add("ok/\x81\x7F.txt", "bad"); }},
        {"flagged UTF-8 but not",
         [](ZipBuilder &b) { b.Add("ok/\xB1\xEA.txt", "bad").flags = 0x800; }},
    };
    // Dot-dot, alone and inside; leading slash and backslash; drive prefix; stream;
    // wildcard; control character; trailing dot and space; device, alone and with an
    // extension; NUL inside; 260 bytes; a file ending in a separator.
    using namespace std::string_literals;
    for (std::string name :
         {"../evil.txt"s, "ok/../../evil.txt"s, "/evil.txt"s, "\\evil.txt"s, "C:evil.txt"s,
          "ok/a.txt:evil"s, "ok/a*.txt"s, "ok/a\x07.txt"s, "ok/evil."s, "ok /evil.txt"s, "ok/CON"s,
          "ok/lpt1.txt"s, "ok/a\0b"s, "ok/"s + std::string(257, 'n'), "ok/file/"s})
        cases.push_back({name, [name](ZipBuilder &b) { b.Add(name, "bad"); }});
    for (const Case &c : cases) {
        recorder_.percents.clear();
        RemoveTree(dest_);
        ZipBuilder builder;
        builder.AddDirectory("ok/");
        builder.Add("ok/good.txt", "good");
        c.add_bad(builder);
        builder.Add("ok/after.txt", "after");
        EXPECT_EQ(Extract(builder), 0) << c.what;
        EXPECT_EQ(Written(), Paths{}) << c.what;
        EXPECT_EQ(recorder_.percents, std::vector<int32_t>{0}) << c.what;
    }
}

// Names land under their characters on every code page: GBK unless the entry is flagged UTF-8,
// and a destination whose characters belong to no code page takes them.
TEST_F(Extractor, NamesLandUnderTheirOwnCharacters) {
    const std::string destination = scratch_ / "游戏 Jeux \u00E9t\u00E9 \u0416 😀";
    ZipBuilder builder;
    builder.AddDirectory("class/");
    builder.Add("class/\xCD\xBC\xB1\xEA.txt", "gbk");      // 图标.txt in GBK
    builder.Add("class/徽章😀.txt", "utf-8").flags = 0x800; // flagged UTF-8
    builder.Add("class/\x81\x5C.txt", "trail backslash");  // 乗: trail byte 0x5C
    ASSERT_TRUE(builder.WriteTo(archive_));
    EXPECT_EQ(Run(archive_.c_str(), destination.c_str()), 1);
    EXPECT_EQ(ListTree(destination),
              (Paths{"class\\", "class\\乗.txt", "class\\图标.txt", "class\\徽章😀.txt"}));
    EXPECT_EQ(ReadAll(destination + "\\class\\图标.txt"), "gbk");
    EXPECT_EQ(ReadAll(destination + "\\class\\乗.txt"), "trail backslash");
}

// Fault mended: a CRC mismatch or a size that lies counted as a good entry.
TEST_F(Extractor, EntryWithBadDataFailsAfterTheEntriesBeforeIt) {
    ZipBuilder builder;
    builder.Add("a.txt", "a");
    builder.Add("b.txt", "bbbb").crc = 0;
    builder.Add("c.txt", "c");
    EXPECT_EQ(Extract(builder), 0);
    EXPECT_EQ(recorder_.percents, (std::vector<int32_t>{0, 100}));
    EXPECT_EQ(ReadAll(dest_ + "\\a.txt"), "a");
    EXPECT_FALSE(Exists(dest_ + "\\c.txt"));
}

// Fault mended: a target path of 260 bytes or more was cut, naming another file.
TEST_F(Extractor, TargetPathOf260BytesFailsInsteadOfBeingCut) {
    const std::string name = "d/" + std::string(250 - dest_.size(), 'f');
    ZipBuilder builder;
    builder.AddDirectory("d/");
    builder.Add(name + "12345678", "long");
    ASSERT_LT(name.size() + 8, 260u);
    EXPECT_EQ(Extract(builder), 0);
    EXPECT_EQ(Written(), Paths{"d\\"});
}

TEST_F(Extractor, DirectoryEntryThatCannotBeMadeFails) {
    ASSERT_TRUE(MakeTree(dest_, {""}));
    ASSERT_TRUE(WriteAll(dest_ + "\\class", "a file in the way"));
    ZipBuilder builder;
    builder.AddDirectory("class/");
    builder.Add("class/a.tga", "a");
    EXPECT_EQ(Extract(builder), 0);
    EXPECT_EQ(Written(), Paths{"class"});
}

} // namespace
} // namespace korvanta::test
