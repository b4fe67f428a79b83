// Damaged archives made by the tests, each against ExtractArchive of a loaded ZIP unit: cut
// at the structures' boundaries, signatures and end records that lie, local headers that
// disagree with the central directory, data that is not what its headers say, and names
// that climb out, land elsewhere or do not fit. Besides the expected result, every case
// passes the common checks of CheckOutcome.
#include "tests/hostile/harness.h"
#include "tests/hostile/outcome.h"
#include "tests/support/files.h"
#include "tests/support/wait_limit.h"
#include "tests/support/zip_layout.h"
#include "tests/unzip/zip_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace korvanta::test {
namespace {

// Compressible but not trivial, like icon pixels.
std::string Pixels(int seed, size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i / 7 * seed + i % 5 * 31 + seed) & 0xff);
    return bytes;
}

const char *const kNames[] = {"class/", "class/BigClass_1.tga", "class/Reject.tga",
                              "class/class_0.tga", "class/sclass_0.tga"};

std::string ContentOf(int entry) {
    const size_t sizes[] = {0, 3000, 700, 5000, 900};
    return Pixels(entry, sizes[entry]);
}

// Target path below the destination -> the bytes its entry holds.
std::map<std::string, std::string> Contents() {
    std::map<std::string, std::string> contents;
    for (int i = 1; i < 5; ++i) {
        std::string path = kNames[i];
        std::replace(path.begin(), path.end(), '/', '\\');
        contents[path] = ContentOf(i);
    }
    return contents;
}

// Adds entries of its own before entry `before` (5: at the end).
using Insert = std::function<void(ZipBuilder &, int before)>;
using Damage = std::function<void(ZipEntrySpec &)>;

// Shaped like the staged archives: the top folder first, then its files, deflated and
// stored (entry 2). Entry 3, class_0.tga, is the one the damage goes to.
std::string IconSet(const Insert &insert = {}, const Damage &damage = {}) {
    ZipBuilder builder;
    for (int i = 0; i <= 5; ++i) {
        if (insert)
            insert(builder, i);
        if (i == 5)
            break;
        ZipEntrySpec &entry = i == 0 ? builder.AddDirectory(kNames[0])
                                     : builder.Add(kNames[i], ContentOf(i), i == 2 ? 0 : 8);
        if (i == 3 && damage)
            damage(entry);
    }
    return builder.Bytes();
}

const std::vector<std::string> kAll = {"class\\BigClass_1.tga", "class\\Reject.tga",
                                       "class\\class_0.tga", "class\\sclass_0.tga"};
const std::vector<std::string> kBeforeEntry3 = {"class\\BigClass_1.tga", "class\\Reject.tga"};

std::string Lower(std::string text) {
    for (char &c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return text;
}

struct Expect {
    int32_t result;
    std::vector<std::string> intact; // exactly the files left, each with its entry's content
    std::string failing = {};        // the entry that failed may leave a partial file
};

class DamagedArchive : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadHarnessWindow(); }
    static void TearDownTestSuite() { CloseHarnessWindow(); }

    Extraction Run(const std::string &what, const std::string &bytes) {
        arena_.Reset();
        watchdog_.Arm(what);
        Extraction x = arena_.Extract(bytes);
        watchdog_.Disarm();
        for (const std::string &problem :
             CheckOutcome(arena_, x, ReadZipEntries(arena_.archive(), x.result == 1)))
            ADD_FAILURE() << what << ": " << problem;
        return x;
    }

    void Check(const std::string &what, const std::string &bytes, const Expect &expect,
               const std::map<std::string, std::string> &contents = Contents()) {
        const Extraction x = Run(what, bytes);
        EXPECT_EQ(x.result, expect.result) << what;
        std::vector<std::string> files;
        for (const std::string &path : arena_.Written()) {
            if (path.back() != '\\' && Lower(path) != Lower(expect.failing))
                files.push_back(Lower(path));
        }
        std::vector<std::string> wanted;
        for (const std::string &path : expect.intact) {
            wanted.push_back(Lower(path));
            EXPECT_EQ(ReadAll(arena_.destination() + "\\" + path), contents.at(path))
                << what << ": " << path;
        }
        std::sort(files.begin(), files.end());
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(files, wanted) << what;
    }

    Arena arena_;
    Watchdog watchdog_{kWaitLimitMs};
};

TEST_F(DamagedArchive, CutAtEveryStructuralBoundary) {
    const std::string archive = IconSet();
    const ZipLayout layout = *ParseLayout(archive);
    std::set<size_t> cuts;
    for (const Region &r : layout.regions) {
        for (size_t at : {r.begin, r.begin + 1, (r.begin + r.end) / 2, r.end - 1})
            cuts.insert(at);
    }
    cuts.erase(archive.size());
    for (size_t cut : cuts) {
        const std::string what = "cut to " + std::to_string(cut) + " bytes";
        const Extraction x = Run(what, archive.substr(0, cut));
        if (cut >= archive.size() - 2) {
            // Only the archive comment's length is gone: every structure is whole, and
            // extracting it whole is as right as refusing it.
            if (x.result == 1)
                continue;
        }
        // Otherwise the archive is refused before anything is written.
        EXPECT_EQ(x.result, 0) << what;
        EXPECT_EQ(x.reports, std::vector<int32_t>{0}) << what;
        EXPECT_EQ(arena_.Written(), std::vector<std::string>{}) << what;
    }
}

// Where a header field of the undamaged icon set lies; patches of it may be stacked, as
// none moves a structure.
size_t FieldOffset(RegionKind kind, int entry, const char *field) {
    static const ZipLayout layout = *ParseLayout(IconSet());
    const std::vector<HeaderField> &fields = kind == RegionKind::LocalHeader ? LocalHeaderFields()
                                             : kind == RegionKind::CentralHeader
                                                 ? CentralHeaderFields()
                                                 : EndRecordFields();
    for (const Region &r : layout.regions) {
        for (const HeaderField &f : fields) {
            if (r.kind == kind && r.entry == entry && std::string(f.name) == field)
                return r.begin + f.offset;
        }
    }
    ADD_FAILURE() << "no field " << field;
    return 0;
}

size_t FieldWidth(RegionKind kind, const char *field) {
    for (const auto *fields : {&LocalHeaderFields(), &CentralHeaderFields(), &EndRecordFields()}) {
        for (const HeaderField &f : *fields) {
            if (std::string(f.name) == field &&
                (fields == &EndRecordFields()) == (kind == RegionKind::EndRecord))
                return f.width;
        }
    }
    return 4;
}

std::string Patched(const std::string &archive, RegionKind kind, int entry, const char *field,
                    uint32_t value) {
    std::string bytes = archive;
    WriteLe(bytes, FieldOffset(kind, entry, field), FieldWidth(kind, field), value);
    EXPECT_NE(bytes, archive) << field;
    return bytes;
}

uint32_t Field(const std::string &archive, RegionKind kind, int entry, const char *field) {
    return ReadLe(archive, FieldOffset(kind, entry, field), FieldWidth(kind, field));
}

TEST_F(DamagedArchive, SignaturesAndEndRecordsThatLie) {
    const std::string a = IconSet();
    using K = RegionKind;
    const uint32_t offset = Field(a, K::EndRecord, -1, "central directory offset");
    const uint32_t size = Field(a, K::EndRecord, -1, "central directory size");
    auto end = [&](const char *field, uint32_t value) {
        return Patched(a, K::EndRecord, -1, field, value);
    };
    const Expect refused = {0, {}};
    struct Case {
        const char *what;
        std::string bytes;
        Expect expect;
    } cases[] = {
        {"first local signature", Patched(a, K::LocalHeader, 0, "signature", 0x04034b51), refused},
        {"third local signature", Patched(a, K::LocalHeader, 3, "signature", 0x08074b50), refused},
        {"first central signature", Patched(a, K::CentralHeader, 0, "signature", 0), refused},
        {"last central signature", Patched(a, K::CentralHeader, 4, "signature", 0x04034b50),
         refused},
        {"end signature", end("signature", 0x06054b51), refused},
        {"more entries than records",
         Patched(end("entries", 9), K::EndRecord, -1, "entries on this disk", 9), refused},
        // Fewer entries than records: the archive is what its end record says it is.
        {"three entries of five",
         Patched(end("entries", 3), K::EndRecord, -1, "entries on this disk", 3),
         {1, kBeforeEntry3}},
        {"counts that disagree", end("entries", 4), refused},
        {"another disk", end("disk", 1), refused},
        {"offset one too far", end("central directory offset", offset + 1), refused},
        {"offset one short", end("central directory offset", offset - 1), refused},
        {"offset zero", end("central directory offset", 0), refused},
        {"offset past the end", end("central directory offset", 0x7fffffff), refused},
        {"size one too big", end("central directory size", size + 1), refused},
        {"size one short", end("central directory size", size - 1), refused},
        {"central record points at the wrong local header",
         Patched(a, K::CentralHeader, 3, "local header offset",
                 Field(a, K::CentralHeader, 2, "local header offset")),
         refused},
    };
    for (const Case &c : cases)
        Check(c.what, c.bytes, c.expect);
}

TEST_F(DamagedArchive, LocalHeadersThatDisagreeWithTheCentralDirectory) {
    struct Case {
        const char *what;
        void (*damage)(ZipEntrySpec &);
        Expect expect;
    } cases[] = {
        {"local CRC", [](ZipEntrySpec &e) { e.local_crc = 0x12345678; }, {0, {}}},
        {"local method", [](ZipEntrySpec &e) { e.local_method = 0; }, {0, {}}},
        {"local name longer",
         [](ZipEntrySpec &e) { e.local_name = "class/class_00.tga"; },
         {0, {}}},
        {"local name climbing out, other length",
         [](ZipEntrySpec &e) { e.local_name = "../../../class_0.tga"; },
         {0, {}}},
        // The central name is the one that counts; a local name of the same length is not read.
        {"local name of the same length",
         [](ZipEntrySpec &e) { e.local_name = "..\\..\\a\\class.tga"; },
         {1, kAll}},
        {"local extra beyond the file",
         [](ZipEntrySpec &e) { e.local_extra_length = 0xffff; },
         {0, {}}},
        {"bzip2 in both", [](ZipEntrySpec &e) { e.method = 12; }, {0, {}}},
    };
    for (const Case &c : cases)
        Check(c.what, IconSet({}, c.damage), c.expect);
}

TEST_F(DamagedArchive, DataThatIsNotWhatItsHeadersSay) {
    const std::string deflated = Deflate(ContentOf(3));
    const Expect entry3_fails = {0, kBeforeEntry3, "class\\class_0.tga"};
    struct Case {
        const char *what;
        Damage damage;
        Expect expect;
    } cases[] = {
        // Unless said otherwise, the entries before entry 3 stay and entry 3 fails.
        {"deflate stream with bytes changed in the middle",
         [&](ZipEntrySpec &e) {
             std::string bytes = deflated;
             for (size_t i = bytes.size() / 3; i < bytes.size() / 3 + 8; ++i)
                 bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
             e.stored_bytes = bytes;
         },
         entry3_fails},
        {"no deflate stream at all",
         [](ZipEntrySpec &e) { e.stored_bytes = std::string(400, '\xff'); }, entry3_fails},
        {"deflate stream cut short",
         [&](ZipEntrySpec &e) { e.stored_bytes = deflated.substr(0, deflated.size() / 2); },
         entry3_fails},
        {"bad CRC", [](ZipEntrySpec &e) { e.crc = 0xdeadbeef; }, entry3_fails},
        {"uncompressed size one too big", [](ZipEntrySpec &e) { e.uncompressed_size = 5001; },
         entry3_fails},
        {"uncompressed size one short", [](ZipEntrySpec &e) { e.uncompressed_size = 4999; },
         entry3_fails},
        {"uncompressed size zero", [](ZipEntrySpec &e) { e.uncompressed_size = 0; }, entry3_fails},
        {"compressed size short",
         [&](ZipEntrySpec &e) { e.compressed_size = static_cast<uint32_t>(deflated.size() - 9); },
         entry3_fails},
        // The stream ends where it ends; the bytes after it, up to the declared size, belong
        // to the next header and change nothing.
        {"compressed size reaching into the next header",
         [&](ZipEntrySpec &e) { e.compressed_size = static_cast<uint32_t>(deflated.size() + 20); },
         {1, kAll}},
        {"stored as deflated", [](ZipEntrySpec &e) { e.stored_bytes = ContentOf(3); },
         entry3_fails},
        {"deflated as stored",
         [&](ZipEntrySpec &e) {
             e.method = 0;
             e.stored_bytes = deflated;
             e.uncompressed_size = static_cast<uint32_t>(deflated.size());
         },
         entry3_fails},
    };
    for (const Case &c : cases)
        Check(c.what, IconSet({}, c.damage), c.expect);

    // A stored entry whose sizes lie upwards in both headers reads the next header as data.
    std::string stored_long = IconSet();
    for (RegionKind kind : {RegionKind::LocalHeader, RegionKind::CentralHeader}) {
        for (const char *field : {"compressed size", "uncompressed size"})
            stored_long = Patched(stored_long, kind, 2, field, 710);
    }
    Check("stored entry reading into the next header", stored_long,
          {0, {"class\\BigClass_1.tga"}, "class\\Reject.tga"});
}

TEST_F(DamagedArchive, NamesThatClimbOutLandElsewhereOrDoNotFit) {
    auto before_entry = [](int position, std::string name, uint32_t attributes = 0x20,
                           uint16_t flags = 0) -> Insert {
        return [=](ZipBuilder &b, int before) {
            if (before != position)
                return;
            ZipEntrySpec &e = b.Add(name, "evil");
            e.external_attributes = attributes;
            e.flags = flags;
        };
    };
    const std::string long_name = "class/" + std::string(253, 'n'); // 259 bytes
    struct Case {
        std::string what;
        Insert insert;
        Expect expect;
    } cases[] = {
        {"..\\", before_entry(2, "..\\evil.tga"), {0, {}}},
        {"../", before_entry(2, "../evil.tga"), {0, {}}},
        {"climbing from inside", before_entry(2, "class/../../evil.tga"), {0, {}}},
        {"climbing with backslashes", before_entry(2, "class\\..\\..\\evil.tga"), {0, {}}},
        {"leading backslash", before_entry(2, "\\evil.tga"), {0, {}}},
        {"leading slash", before_entry(2, "/evil.tga"), {0, {}}},
        {"drive relative", before_entry(2, "C:evil.tga"), {0, {}}},
        {"drive absolute", before_entry(2, "C:\\evil.tga"), {0, {}}},
        {"260 bytes", before_entry(2, long_name + "n"), {0, {}}},
        {"300 bytes", before_entry(2, long_name + std::string(41, 'n')), {0, {}}},
        // The reader takes 259 bytes, but no target path of that name fits in 259 bytes:
        // the entries before it are out, the name itself never is.
        {"259 bytes", before_entry(2, long_name), {0, {"class\\BigClass_1.tga"}}},
        {"encrypted", before_entry(2, "class/secret.tga", 0x20, 1), {0, {}}},
        {"directory name without the directory attribute", before_entry(2, "class/sub/"), {0, {}}},
        {"file where the top folder is", before_entry(5, "class"), {0, kAll}},
    };
    for (const Case &c : cases)
        Check(c.what, IconSet(c.insert), c.expect);
}

TEST_F(DamagedArchive, DuplicatesAndDirectoriesWithoutTheirMark) {
    // Of two entries of one name, in any case, the later wins.
    std::map<std::string, std::string> contents = Contents();
    contents["class\\Reject.tga"] = "second reject";
    Check("duplicate", IconSet([](ZipBuilder &b, int before) {
              if (before == 5)
                  b.Add("class/REJECT.TGA", "second reject");
          }),
          {1, kAll}, contents);

    // A directory known only by its attribute, DOS or Unix, becomes a folder.
    const Extraction x = Run("directory by attribute only", IconSet([](ZipBuilder &b, int before) {
                                 if (before == 5) {
                                     b.Add("class/dosdir", "").external_attributes = 0x10;
                                     b.Add("class/unixdir", "").external_attributes = 0x41ed0000;
                                 }
                             }));
    EXPECT_EQ(x.result, 1);
    const std::vector<std::string> written = arena_.Written();
    for (const char *folder : {"class\\dosdir\\", "class\\unixdir\\"})
        EXPECT_NE(std::find(written.begin(), written.end(), folder), written.end()) << folder;
}

} // namespace
} // namespace korvanta::test
