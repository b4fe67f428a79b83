// The raw bytes of both archives against their fixed layout: names and order, every local
// and central header field, offsets, the end record, timestamps and the NTFS time field.

#include "archive_rules.h"
#include "zip_parse.h"
#include "tests/support/icon_names.h"

#include <algorithm>
#include <map>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace payload_test;

namespace {

struct SetCase {
    bool stock;
    size_t entries;
    uint32_t centralSize;
};

void PrintTo(const SetCase &c, std::ostream *os) {
    *os << (c.stock ? "StockSet" : "ForeignSet");
}

class ArchiveLayout : public testing::TestWithParam<SetCase> {
protected:
    static const std::vector<uint8_t> &Bytes(bool stock) {
        static const std::vector<uint8_t> foreign = ReadBytes(ArchiveDir() + "/foreign.zip");
        static const std::vector<uint8_t> stockZip = ReadBytes(ArchiveDir() + "/stock.zip");
        return stock ? stockZip : foreign;
    }
    const std::vector<uint8_t> &zip = Bytes(GetParam().stock);
    const RawZip raw = ParseZip(zip);
    const std::string top = Top(GetParam().stock);

    std::string Leaf(const std::string &name) const { return name.substr(top.size()); }
};

TEST_P(ArchiveLayout, NamesStandInByteOrderWithTheDirectoryFirst) {
    ASSERT_EQ(raw.error, "");
    std::vector<std::string> expected{top};
    for (const std::string &leaf : korvanta::test::IconNames(GetParam().stock))
        expected.push_back(top + leaf);
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(raw.centrals.size(), GetParam().entries);
    std::vector<std::string> names;
    for (const CentralHeader &h : raw.centrals)
        names.push_back(h.name);
    EXPECT_EQ(names, expected);
    // The order written out by hand, independent of any sort.
    const std::vector<std::string> head{top, top + "BigClass_1.tga", top + "BigClass_10.tga",
                                        top + "BigClass_100.tga", top + "BigClass_11.tga"};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), names.begin()));
    EXPECT_EQ(names.back(), top + "sclass_99.tga");
    for (const std::string &n : names) {
        EXPECT_TRUE(std::all_of(n.begin(), n.end(), [](char c) { return c > 0x20 && c < 0x7F; }))
            << n;
        EXPECT_EQ(n.find('\\'), std::string::npos) << n;
        EXPECT_EQ(n.find(".."), std::string::npos) << n;
        EXPECT_EQ(n.find('/', top.size()), std::string::npos) << n << " lies in a subfolder";
    }
}

TEST_P(ArchiveLayout, LocalHeadersRunBackToBackFromOffsetZero) {
    ASSERT_EQ(raw.error, "");
    ASSERT_EQ(raw.locals.size(), GetParam().entries);
    const LocalHeader &dir = raw.locals.front();
    EXPECT_EQ(dir.offset, 0u);
    EXPECT_EQ(dir.name, top);
    EXPECT_EQ(dir["method"], 0);
    EXPECT_EQ(dir["compressed size"], 0u);
    EXPECT_EQ(dir["uncompressed size"], 0u);
    EXPECT_EQ(dir["crc"], 0u);
    for (const LocalHeader &h : raw.locals) {
        SCOPED_TRACE(h.name);
        EXPECT_EQ(h["version needed"], 20);
        EXPECT_EQ(h["flags"], 0); // no encryption, no data descriptor, no UTF-8 flag
        EXPECT_EQ(h["extra length"], 0);
        EXPECT_EQ(h["method"], h.name == top ? 0 : 8);
    }
    // Nothing between the last entry's data and the central directory.
    EXPECT_EQ(raw.localsEnd, raw.end["central directory offset"]);
}

TEST_P(ArchiveLayout, CentralHeadersAgreeWithTheirLocalHeaders) {
    ASSERT_EQ(raw.error, "");
    ASSERT_EQ(raw.centrals.size(), raw.locals.size());
    for (size_t i = 0; i < raw.centrals.size(); ++i) {
        const CentralHeader &c = raw.centrals[i];
        const LocalHeader &l = raw.locals[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c["local header offset"], l.offset);
        EXPECT_EQ(c.name, l.name);
        EXPECT_EQ(c["version needed"], l["version needed"]);
        EXPECT_EQ(c["flags"], l["flags"]);
        EXPECT_EQ(c["method"], l["method"]);
        EXPECT_EQ(c["time"], l["time"]);
        EXPECT_EQ(c["date"], l["date"]);
        EXPECT_EQ(c["crc"], l["crc"]);
        EXPECT_EQ(c["compressed size"], l["compressed size"]);
        EXPECT_EQ(c["uncompressed size"], l["uncompressed size"]);
        EXPECT_EQ(c["version made by"], 0x003F);
        EXPECT_EQ(c.extra.size(), 36u);
        EXPECT_EQ(c["comment length"], 0);
        EXPECT_EQ(c["disk start"], 0);
        EXPECT_EQ(c["internal attributes"], 0);
        EXPECT_EQ(c["external attributes"], i == 0 ? 0x10u : 0x20u);
    }
}

TEST_P(ArchiveLayout, EndRecordFollowsTheCentralDirectoryAndCloses) {
    ASSERT_EQ(raw.error, "");
    EXPECT_EQ(raw.centralEnd, raw.end.offset);
    EXPECT_EQ(raw.end.offset + 22, zip.size());
    EXPECT_EQ(raw.end["disk"], 0);
    EXPECT_EQ(raw.end["central directory disk"], 0);
    EXPECT_EQ(raw.end["entries on this disk"], GetParam().entries);
    EXPECT_EQ(raw.end["entries"], GetParam().entries);
    EXPECT_EQ(raw.end["comment length"], 0);
    EXPECT_EQ(raw.end["central directory offset"], raw.centrals.front().offset);
    // The central directory's size follows from the names alone.
    EXPECT_EQ(raw.end["central directory size"], GetParam().centralSize);
    EXPECT_EQ(raw.end["central directory size"],
              raw.centralEnd - raw.end["central directory offset"]);
    // No ZIP64: no locator before the end record, no ZIP64 extra in any header.
    ASSERT_GE(zip.size(), 42u);
    EXPECT_NE(Le32(zip, zip.size() - 42), 0x07064B50u);
    for (const CentralHeader &c : raw.centrals)
        EXPECT_NE(Le16(c.extra, 0), 0x0001) << c.name;
}

TEST_P(ArchiveLayout, EveryFileInflatesToItsSizeAndCrc) {
    ASSERT_EQ(raw.error, "");
    for (size_t i = 1; i < raw.locals.size(); ++i) {
        const LocalHeader &h = raw.locals[i];
        SCOPED_TRACE(h.name);
        bool ok = false;
        const std::vector<uint8_t> data = Inflate(zip, h.dataOffset, h["compressed size"], ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(data.size(), h["uncompressed size"]);
        EXPECT_EQ(crc32(0, data.data(), static_cast<uInt>(data.size())), h["crc"]);
    }
}

TEST_P(ArchiveLayout, NtfsFieldCarriesTheDosTimeReadAtUtcPlus8) {
    ASSERT_EQ(raw.error, "");
    for (const CentralHeader &c : raw.centrals) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.extra.size(), 36u);
        EXPECT_EQ(Le16(c.extra, 0), 0x000A);
        EXPECT_EQ(Le16(c.extra, 2), 32);
        EXPECT_EQ(Le32(c.extra, 4), 0u);
        EXPECT_EQ(Le16(c.extra, 8), 0x0001);
        EXPECT_EQ(Le16(c.extra, 10), 24);
        const uint64_t mtime = Le64(c.extra, 12);
        EXPECT_EQ(mtime, FileTimeAtUtcPlus8(FromDos(c["date"], c["time"])));
        // Access and creation time repeat the modification time: the files were never
        // touched after packing.
        EXPECT_EQ(Le64(c.extra, 20), mtime);
        EXPECT_EQ(Le64(c.extra, 28), mtime);
    }
}

INSTANTIATE_TEST_SUITE_P(BothSets, ArchiveLayout,
                         testing::Values(SetCase{false, 323, 32826}, SetCase{true, 325, 33379}),
                         [](const auto &p) { return p.param.stock ? "Stock" : "Foreign"; });

std::map<std::string, Stamp> Times(bool stock) {
    const RawZip raw = ParseZip(ReadBytes(ArchiveDir() + (stock ? "/stock.zip" : "/foreign.zip")));
    std::map<std::string, Stamp> times;
    for (const CentralHeader &c : raw.centrals)
        times[c.name.substr(Top(stock).size())] = FromDos(c["date"], c["time"]);
    return times;
}

TEST(ArchiveTimes, ForeignSetKeepsItsThreeGenerations) {
    const auto times = Times(false);
    ASSERT_EQ(times.size(), 323u);
    const Stamp earliest{2008, 10, 4, 3, 33, 8}, latest{2012, 2, 7, 18, 38, 44};
    EXPECT_EQ(times.at(""), (Stamp{2012, 12, 2, 0, 45, 42}));
    EXPECT_EQ(times.at("sclass_0.tga"), earliest);
    EXPECT_EQ(times.at("Thumbs.db"), latest);
    for (const auto &[leaf, t] : times) {
        if (leaf.empty())
            continue;
        SCOPED_TRACE(leaf);
        if (IsShared(leaf)) {
            EXPECT_GE(t, earliest);
            EXPECT_LE(t, latest);
        } else {
            EXPECT_EQ(t, (Stamp{2009, 1, 9, 7, 23, 54}));
        }
    }
}

TEST(ArchiveTimes, StockSetWasCopiedWithinThirtyEightSeconds) {
    const auto times = Times(true);
    ASSERT_EQ(times.size(), 325u);
    EXPECT_EQ(times.at(""), (Stamp{2013, 11, 20, 10, 34, 26}));
    const Stamp green{2012, 12, 19, 11, 26, 24};
    EXPECT_EQ(times.at("GreenCommunityUserBig.tga"), green);
    EXPECT_EQ(times.at("GreenCommunityUserSmall.tga"), green);
    int copied = 0;
    for (const auto &[leaf, t] : times) {
        if (leaf.empty() || leaf.starts_with("GreenCommunityUser"))
            continue;
        SCOPED_TRACE(leaf);
        EXPECT_GE(t, (Stamp{2012, 2, 7, 18, 38, 6}));
        EXPECT_LE(t, (Stamp{2012, 2, 7, 18, 38, 44}));
        ++copied;
    }
    EXPECT_EQ(copied, 322);
}

} // namespace
