// The aiming of the hostile suite: a layout that misses a structure, or a mutator that
// repeats the original or drifts between runs, would make the random-damage run prove
// nothing while passing.
#include "tests/hostile/mutator.h"
#include "tests/support/zip_layout.h"
#include "tests/unzip/zip_builder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace korvanta::test {
namespace {

std::string TwoEntryArchive() {
    ZipBuilder builder;
    builder.AddDirectory("class/");
    ZipEntrySpec &file = builder.Add("class/a.tga", std::string(3000, 'a'));
    file.local_extra = UtBlock(1, {1231488000});
    file.central_extra = std::string("xy\x02\x00zz", 6);
    return builder.Bytes();
}

TEST(ZipLayout, RegionsCoverTheArchiveInFileOrder) {
    const std::string archive = TwoEntryArchive();
    std::optional<ZipLayout> layout = ParseLayout(archive);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->entry_count, 2u);
    using K = RegionKind;
    const std::vector<std::pair<K, int>> expected = {
        {K::LocalHeader, 0},   {K::LocalName, 0},   {K::LocalHeader, 1},   {K::LocalName, 1},
        {K::LocalExtra, 1},    {K::Data, 1},        {K::CentralHeader, 0}, {K::CentralName, 0},
        {K::CentralHeader, 1}, {K::CentralName, 1}, {K::CentralExtra, 1},  {K::EndRecord, -1}};
    ASSERT_EQ(layout->regions.size(), expected.size());
    size_t at = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Region &r = layout->regions[i];
        EXPECT_EQ(r.kind, expected[i].first) << i;
        EXPECT_EQ(r.entry, expected[i].second) << i;
        EXPECT_EQ(r.begin, at) << i;
        at = r.end;
    }
    EXPECT_EQ(at, archive.size());
    // The names lie where the headers say, and the central record points at its local one.
    EXPECT_EQ(archive.substr(layout->regions[3].begin, 11), "class/a.tga");
    EXPECT_EQ(ReadLe(archive, layout->regions[8].begin + 42, 4), layout->regions[2].begin);
}

// The archive with a little-endian value written over it.
std::string With(std::string bytes, size_t at, size_t width, uint32_t value) {
    WriteLe(bytes, at, width, value);
    return bytes;
}

TEST(ZipLayout, RefusesWhatIsNotAWellFormedArchive) {
    const std::string archive = TwoEntryArchive();
    const size_t end = ParseLayout(archive)->regions.back().begin;
    const size_t central = end - 46 - 11 - 6 - 46 - 6;
    struct Case {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"no end record", archive.substr(0, end)},
        {"end record cut", archive.substr(0, archive.size() - 1)},
        {"comment longer than the file", With(archive, end + 20, 2, 5)},
        {"central directory beyond the file",
         With(archive, end + 16, 4, static_cast<uint32_t>(archive.size()))},
        {"more entries than records", With(archive, end + 10, 2, 3)},
        {"local header signature", With(archive, 0, 1, 'X')},
        {"central signature", With(archive, central, 1, 'X')},
    };
    ASSERT_EQ(ReadLe(archive, central, 4), 0x02014b50u);
    for (const Case &c : cases)
        EXPECT_FALSE(ParseLayout(c.bytes)) << c.what;
}

TEST(Mutator, SameSeedSameCopiesAndNeverTheOriginal) {
    const std::string archive = TwoEntryArchive();
    Mutator a(archive, 7), b(archive, 7), other(archive, 8);
    ASSERT_TRUE(a.valid());
    int differ_from_other = 0;
    std::set<int> kinds;
    for (int i = 0; i < 400; ++i) {
        const Mutant m = a.Next();
        const Mutant again = b.Next();
        EXPECT_EQ(m.bytes, again.bytes) << i;
        EXPECT_EQ(m.what, again.what) << i;
        EXPECT_NE(m.bytes, archive) << i << ": " << m.what;
        differ_from_other += other.Next().bytes != m.bytes;
        kinds.insert(static_cast<int>(m.kind));
    }
    EXPECT_GT(differ_from_other, 300);
    EXPECT_EQ(kinds.size(), static_cast<size_t>(kMutationKinds));
}

// Each kind of damage lands where its name says.
TEST(Mutator, DamageStaysInsideItsKindOfRegion) {
    const std::string archive = TwoEntryArchive();
    const ZipLayout layout = *ParseLayout(archive);
    auto region_of = [&](size_t at) -> const Region * {
        for (const Region &r : layout.regions) {
            if (at >= r.begin && at < r.end)
                return &r;
        }
        return nullptr;
    };
    Mutator mutator(archive, 1);
    for (int i = 0; i < 600; ++i) {
        const Mutant m = mutator.Next();
        if (m.kind == MutationKind::Truncation) {
            EXPECT_LT(m.bytes.size(), archive.size()) << m.what;
            EXPECT_EQ(archive.compare(0, m.bytes.size(), m.bytes), 0) << m.what;
            continue;
        }
        if (m.kind == MutationKind::Splice || m.kind == MutationKind::AnyBytes)
            continue;
        ASSERT_EQ(m.bytes.size(), archive.size()) << m.what;
        std::set<RegionKind> touched;
        std::set<const Region *> headers;
        for (size_t at = 0; at < archive.size(); ++at) {
            if (m.bytes[at] != archive[at]) {
                touched.insert(region_of(at)->kind);
                headers.insert(region_of(at));
            }
        }
        switch (m.kind) {
        case MutationKind::FieldValue:
            EXPECT_EQ(headers.size(), 1u) << m.what;
            EXPECT_TRUE(touched == std::set{RegionKind::LocalHeader} ||
                        touched == std::set{RegionKind::CentralHeader} ||
                        touched == std::set{RegionKind::EndRecord})
                << m.what;
            break;
        case MutationKind::HostileName:
            for (RegionKind k : touched)
                EXPECT_TRUE(k == RegionKind::CentralName || k == RegionKind::LocalName) << m.what;
            break;
        case MutationKind::DataBytes:
            EXPECT_EQ(touched, std::set{RegionKind::Data}) << m.what;
            break;
        case MutationKind::HeaderBytes:
            EXPECT_EQ(touched.count(RegionKind::Data), 0u) << m.what;
            break;
        default:
            break;
        }
    }
}

} // namespace
} // namespace korvanta::test
