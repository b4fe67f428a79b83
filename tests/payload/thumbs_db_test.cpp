// "Thumbs.db" read as a compound file by a parser of its own: header, FAT, directory chain,
// the directory's red-black tree, and every stream's chain in the FAT or the mini FAT.

#include "zip_parse.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <gtest/gtest.h>
#include <set>

using namespace payload_test;

namespace {

constexpr uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSect = 0xFFFFFFFD;
constexpr uint32_t kNoStream = 0xFFFFFFFF;

struct DirEntry {
    std::string name;
    uint8_t type, colour;
    uint32_t left, right, child, start;
    uint64_t size;
};

class ThumbsDb : public testing::Test {
protected:
    static const std::vector<uint8_t> &File() {
        static const std::vector<uint8_t> f = UnpackedSet(false).at("Thumbs.db");
        return f;
    }
    const std::vector<uint8_t> &f = File();
    size_t SectorAt(uint32_t s) const { return 512 + size_t(s) * 512; }
    uint32_t sectors = static_cast<uint32_t>((f.size() - 512) / 512);

    std::vector<uint32_t> Fat() const {
        std::vector<uint32_t> fat;
        for (uint32_t i = 0; i < Le32(f, 44); ++i)
            for (int k = 0; k < 128; ++k)
                fat.push_back(Le32(f, SectorAt(Le32(f, 76 + 4 * i)) + 4 * k));
        return fat;
    }

    // Follows a chain; fails on a loop, a free or special link, or a sector out of range.
    std::vector<uint32_t> Chain(const std::vector<uint32_t> &table, uint32_t start,
                                size_t limit) const {
        std::vector<uint32_t> chain;
        for (uint32_t s = start; s != kEnd; s = table.at(s)) {
            if (s >= limit || chain.size() > limit) {
                ADD_FAILURE() << "chain from " << start << " breaks at " << s;
                return chain;
            }
            chain.push_back(s);
        }
        return chain;
    }

    std::vector<DirEntry> Directory() const {
        std::vector<DirEntry> dir;
        for (uint32_t s : Chain(Fat(), Le32(f, 48), sectors))
            for (int k = 0; k < 4; ++k) {
                const size_t at = SectorAt(s) + 128 * k;
                DirEntry e;
                const uint16_t bytes = Le16(f, at + 64);
                for (size_t i = 0; bytes && i + 2 < bytes; i += 2)
                    e.name += static_cast<char>(Le16(f, at + i));
                e.type = f[at + 66];
                e.colour = f[at + 67];
                e.left = Le32(f, at + 68);
                e.right = Le32(f, at + 72);
                e.child = Le32(f, at + 76);
                e.start = Le32(f, at + 116);
                e.size = Le64(f, at + 120);
                dir.push_back(e);
            }
        return dir;
    }
};

TEST_F(ThumbsDb, HeaderIsAVersionThreeCompoundFile) {
    ASSERT_EQ(f.size(), 79360u);
    const std::vector<uint8_t> signature{0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), f.begin()));
    for (int i = 8; i < 24; ++i)
        EXPECT_EQ(f[i], 0) << "CLSID byte " << i;
    EXPECT_EQ(Le16(f, 24), 0x003E);
    EXPECT_EQ(Le16(f, 26), 3);
    EXPECT_EQ(Le16(f, 28), 0xFFFE);
    EXPECT_EQ(Le16(f, 30), 9);
    EXPECT_EQ(Le16(f, 32), 6);
    EXPECT_EQ(Le16(f, 34) | Le32(f, 36), 0u);
    EXPECT_EQ(Le32(f, 40), 0u); // directory sector count is 0 in version 3
    EXPECT_EQ(Le32(f, 52), 0u);
    EXPECT_EQ(Le32(f, 56), 4096u);
    EXPECT_EQ(Le32(f, 68), kEnd); // no DIFAT sectors
    EXPECT_EQ(Le32(f, 72), 0u);
    const uint32_t fatSectors = Le32(f, 44);
    EXPECT_EQ(fatSectors, (sectors + 127) / 128);
    for (uint32_t i = fatSectors; i < 109; ++i)
        EXPECT_EQ(Le32(f, 76 + 4 * i), kFree);
}

TEST_F(ThumbsDb, FatMarksItsOwnSectorsAndEveryChainEnds) {
    const std::vector<uint32_t> fat = Fat();
    for (uint32_t i = 0; i < Le32(f, 44); ++i)
        EXPECT_EQ(fat.at(Le32(f, 76 + 4 * i)), kFatSect);
    for (size_t s = sectors; s < fat.size(); ++s)
        EXPECT_EQ(fat[s], kFree) << "FAT entry past the end of the file";

    std::set<uint32_t> used;
    auto claim = [&](const std::vector<uint32_t> &chain) {
        for (uint32_t s : chain)
            EXPECT_TRUE(used.insert(s).second) << "sector " << s << " in two chains";
    };
    const std::vector<DirEntry> dir = Directory();
    claim(Chain(fat, Le32(f, 48), sectors));
    const uint32_t miniFatStart = Le32(f, 60);
    const std::vector<uint32_t> miniFatSectors =
        miniFatStart == kEnd ? std::vector<uint32_t>{} : Chain(fat, miniFatStart, sectors);
    EXPECT_EQ(miniFatSectors.size(), Le32(f, 64));
    claim(miniFatSectors);
    ASSERT_FALSE(dir.empty());
    const std::vector<uint32_t> miniStream =
        dir[0].start == kEnd ? std::vector<uint32_t>{} : Chain(fat, dir[0].start, sectors);
    EXPECT_EQ(miniStream.size(), (dir[0].size + 511) / 512);
    claim(miniStream);

    std::vector<uint32_t> miniFat;
    for (uint32_t s : miniFatSectors)
        for (int k = 0; k < 128; ++k)
            miniFat.push_back(Le32(f, SectorAt(s) + 4 * k));
    std::set<uint32_t> usedMini;
    for (size_t i = 1; i < dir.size(); ++i) {
        const DirEntry &e = dir[i];
        if (e.type == 0)
            continue;
        SCOPED_TRACE(e.name);
        ASSERT_EQ(e.type, 2); // streams only, directly under the root
        if (e.size < 4096) {
            const auto chain = Chain(miniFat, e.start, dir[0].size / 64);
            EXPECT_EQ(chain.size(), (e.size + 63) / 64);
            for (uint32_t s : chain)
                EXPECT_TRUE(usedMini.insert(s).second) << "mini sector " << s << " reused";
        } else {
            const auto chain = Chain(fat, e.start, sectors);
            EXPECT_EQ(chain.size(), (e.size + 511) / 512);
            claim(chain);
        }
    }
}

bool NameLess(const std::string &a, const std::string &b) {
    if (a.size() != b.size())
        return a.size() < b.size();
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(a[i]) != std::toupper(b[i]))
            return std::toupper(a[i]) < std::toupper(b[i]);
    return false;
}

TEST_F(ThumbsDb, DirectoryIsAValidRedBlackTreeUnderTheRoot) {
    const std::vector<DirEntry> dir = Directory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir[0].name, "Root Entry");
    EXPECT_EQ(dir[0].type, 5);
    size_t live = 0;
    for (const DirEntry &e : dir)
        live += e.type != 0;
    std::set<uint32_t> seen;
    bool hasCatalog = false;
    // Returns the black height of the subtree, checking order and colours on the way.
    std::function<int(uint32_t, const std::string *, const std::string *, bool)> walk =
        [&](uint32_t id, const std::string *low, const std::string *high, bool parentRed) {
            if (id == kNoStream)
                return 1;
            EXPECT_LT(id, dir.size());
            if (id >= dir.size() || !seen.insert(id).second) {
                ADD_FAILURE() << "entry " << id << " reached twice or out of range";
                return 0;
            }
            const DirEntry &e = dir[id];
            hasCatalog |= e.name == "Catalog";
            if (low) {
                EXPECT_TRUE(NameLess(*low, e.name)) << *low << " before " << e.name;
            }
            if (high) {
                EXPECT_TRUE(NameLess(e.name, *high)) << e.name << " before " << *high;
            }
            const bool red = e.colour == 0;
            EXPECT_FALSE(red && parentRed) << "two reds in a row at " << e.name;
            const int l = walk(e.left, low, &e.name, red);
            const int r = walk(e.right, &e.name, high, red);
            EXPECT_EQ(l, r) << "black heights differ under " << e.name;
            return l + (red ? 0 : 1);
        };
    ASSERT_NE(dir[0].child, kNoStream);
    EXPECT_EQ(dir[dir[0].child].colour, 1) << "the tree's root is black";
    walk(dir[0].child, nullptr, nullptr, false);
    EXPECT_EQ(seen.size() + 1, live) << "entries outside the tree";
    EXPECT_TRUE(hasCatalog);
}

} // namespace
