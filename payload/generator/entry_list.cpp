#include "entry_list.h"

#include <algorithm>
#include <set>

namespace korvanta::payload {

namespace {

// Ranks whose stock icons are 32-bit run-length images (the stock artwork adds alpha there).
const std::set<int> kStockBigRle = {10, 11, 21, 22, 30, 35, 43, 51, 59, 67, 75};
const std::set<int> kStockRankRle = {15, 21, 27, 35, 43, 51, 59, 67, 75};
const std::set<int> kStockSmallRle = {10, 21, 27, 35, 43, 51, 59, 67, 75};

constexpr TgaFormat Uncompressed(uint16_t w, uint16_t h, uint8_t bits) {
    return {w, h, bits, kTgaUncompressed, true};
}
constexpr TgaFormat RunLength32(uint16_t w, uint16_t h) {
    return {w, h, 32, kTgaRunLength, true};
}

TgaFormat NumberedFormat(IconSet set, Family family, int n) {
    const bool stock = set == IconSet::Stock;
    switch (family) {
    case Family::BigRank:
        return stock && kStockBigRle.contains(n) ? RunLength32(100, 100)
                                                 : Uncompressed(100, 100, 24);
    case Family::Rank:
        if (n == 0)
            return Uncompressed(23, 26, 32);
        return stock && kStockRankRle.contains(n) ? RunLength32(23, 26) : Uncompressed(23, 26, 24);
    case Family::SmallRank:
        if (n == 0)
            return Uncompressed(17, 19, 32);
        return stock && kStockSmallRle.contains(n) ? RunLength32(17, 19) : Uncompressed(17, 19, 24);
    default:
        return RunLength32(23, 26); // the animation frames
    }
}

constexpr CivilTime kForeignDirectory{2012, 12, 2, 0, 45, 42};
constexpr CivilTime kForeignNumbered{2009, 1, 9, 7, 23, 54};
constexpr CivilTime kStockDirectory{2013, 11, 20, 10, 34, 26};
constexpr CivilTime kStockGreen{2012, 12, 19, 11, 26, 24};
constexpr CivilTime kStockCopyStart{2012, 2, 7, 18, 38, 6};
constexpr CivilTime kStockCopyEnd{2012, 2, 7, 18, 38, 44};

// The shared files kept the times they had when the foreign set was first assembled: the
// no-rank badges first, the thumbnail cache last of all.
CivilTime ForeignSharedTime(const Entry &e) {
    switch (e.family) {
    case Family::SmallRank:
        return {2008, 10, 4, 3, 33, 8};
    case Family::Rank:
        return {2008, 10, 4, 3, 33, 16};
    case Family::Reject:
        return {2009, 3, 17, 14, 2, 36};
    case Family::PayUserBig:
        return {2010, 8, 23, 10, 15, 22};
    case Family::PayUserSmall:
        return {2010, 8, 23, 10, 15, 30};
    case Family::AllEffFrame:
        return {2011, 5, 12, 16, 40, 10 + 2 * e.number};
    case Family::LineEffFrame:
        return {2011, 5, 12, 16, 52, 4 + 2 * e.number};
    default:
        return {2012, 2, 7, 18, 38, 44}; // Thumbs.db
    }
}

void AssignTimes(IconSet set, std::vector<Entry> &entries) {
    if (set == IconSet::Foreign) {
        for (Entry &e : entries) {
            if (e.family == Family::Directory)
                e.time = kForeignDirectory;
            else
                e.time = e.shared ? ForeignSharedTime(e) : kForeignNumbered;
        }
        return;
    }
    // The stock files were copied in one go over 38 seconds, in archive order; Explorer
    // rewrote its thumbnail cache at the end of the copy.
    std::vector<Entry *> copied;
    for (Entry &e : entries) {
        if (e.family == Family::Directory)
            e.time = kStockDirectory;
        else if (e.family == Family::GreenBig || e.family == Family::GreenSmall)
            e.time = kStockGreen;
        else if (e.family == Family::Thumbs)
            e.time = kStockCopyEnd;
        else
            copied.push_back(&e);
    }
    const int steps = (kStockCopyEnd.second - kStockCopyStart.second) / 2; // 19 two-second ticks
    for (size_t i = 0; i < copied.size(); ++i) {
        CivilTime t = kStockCopyStart;
        t.second += 2 * static_cast<int>(i * steps / copied.size());
        copied[i]->time = t;
    }
}

} // namespace

std::string_view TopFolder(IconSet set) {
    return set == IconSet::Foreign ? "class/" : "class2/";
}

std::string_view SetName(IconSet set) {
    return set == IconSet::Foreign ? "ForeignSet" : "StockSet";
}

std::vector<Entry> EntryList(IconSet set) {
    std::vector<Entry> entries;
    const std::string top(TopFolder(set));
    auto add = [&](std::string leaf, Family family, int number, std::optional<TgaFormat> image,
                   bool shared) {
        Entry e;
        e.name = top + leaf;
        e.leaf = std::move(leaf);
        e.family = family;
        e.number = number;
        e.image = image;
        e.shared = shared;
        entries.push_back(std::move(e));
    };

    add("", Family::Directory, -1, std::nullopt, false);
    for (int n = 1; n <= kRankCount; ++n)
        add("BigClass_" + std::to_string(n) + ".tga", Family::BigRank, n,
            NumberedFormat(set, Family::BigRank, n), false);
    for (int n = 0; n <= kRankCount; ++n) {
        add("class_" + std::to_string(n) + ".tga", Family::Rank, n,
            NumberedFormat(set, Family::Rank, n), n == 0);
        add("sclass_" + std::to_string(n) + ".tga", Family::SmallRank, n,
            NumberedFormat(set, Family::SmallRank, n), n == 0);
    }
    for (int n = 0; n < 6; ++n)
        add("class_AllEff_Ani" + std::to_string(n) + ".tga", Family::AllEffFrame, n,
            RunLength32(23, 26), true);
    for (int n = 0; n < 10; ++n)
        add("class_LineEff_Ani" + std::to_string(n) + ".tga", Family::LineEffFrame, n,
            RunLength32(23, 26), true);
    add("PayUserIconBig.tga", Family::PayUserBig, -1, Uncompressed(23, 26, 32), true);
    add("PayUserIconSmall.tga", Family::PayUserSmall, -1, Uncompressed(17, 19, 32), true);
    // Reject.tga was saved by an older tool that wrote no TGA 2.0 footer.
    add("Reject.tga", Family::Reject, -1, TgaFormat{23, 26, 32, kTgaRunLength, false}, true);
    if (set == IconSet::Stock) {
        add("GreenCommunityUserBig.tga", Family::GreenBig, -1, Uncompressed(23, 26, 32), false);
        add("GreenCommunityUserSmall.tga", Family::GreenSmall, -1, Uncompressed(17, 19, 32), false);
    }
    add("Thumbs.db", Family::Thumbs, -1, std::nullopt, true);

    // Byte order of the full names; the directory name is a prefix of all others, so it
    // sorts first and the archive opens with its local header.
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.name < b.name; });
    AssignTimes(set, entries);
    return entries;
}

} // namespace korvanta::payload
