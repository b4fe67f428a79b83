#include "archive_rules.h"
#include "tests/support/files.h"

#include <ctime>
#include <filesystem>
#include <regex>
#include <set>

namespace payload_test {

namespace {

const std::set<int> kStockBigRle = {10, 11, 21, 22, 30, 35, 43, 51, 59, 67, 75};
const std::set<int> kStockRankRle = {15, 21, 27, 35, 43, 51, 59, 67, 75};
const std::set<int> kStockSmallRle = {10, 21, 27, 35, 43, 51, 59, 67, 75};

} // namespace

std::string Top(bool stock) {
    return stock ? "class2/" : "class/";
}

std::optional<ImageRule> RuleFor(bool stock, const std::string &leaf) {
    static const std::regex numbered(R"(^(BigClass_|class_|sclass_)(\d+)\.tga$)");
    std::smatch m;
    if (std::regex_match(leaf, m, numbered)) {
        const std::string family = m[1];
        const int n = std::stoi(m[2]);
        if (family == "BigClass_")
            return stock && kStockBigRle.contains(n) ? ImageRule{100, 100, 32, 10}
                                                     : ImageRule{100, 100, 24, 2};
        const int w = family == "class_" ? 23 : 17, h = family == "class_" ? 26 : 19;
        const auto &rle = family == "class_" ? kStockRankRle : kStockSmallRle;
        if (n == 0)
            return ImageRule{w, h, 32, 2};
        return stock && rle.contains(n) ? ImageRule{w, h, 32, 10} : ImageRule{w, h, 24, 2};
    }
    if (leaf.starts_with("class_AllEff_Ani") || leaf.starts_with("class_LineEff_Ani"))
        return ImageRule{23, 26, 32, 10};
    if (leaf == "Reject.tga")
        return ImageRule{23, 26, 32, 10, false};
    if (leaf == "PayUserIconBig.tga" || leaf == "GreenCommunityUserBig.tga")
        return ImageRule{23, 26, 32, 2};
    if (leaf == "PayUserIconSmall.tga" || leaf == "GreenCommunityUserSmall.tga")
        return ImageRule{17, 19, 32, 2};
    return std::nullopt;
}

bool IsShared(const std::string &leaf) {
    return leaf == "PayUserIconBig.tga" || leaf == "PayUserIconSmall.tga" || leaf == "Reject.tga" ||
           leaf == "Thumbs.db" || leaf == "class_0.tga" || leaf == "sclass_0.tga" ||
           leaf.starts_with("class_AllEff_Ani") || leaf.starts_with("class_LineEff_Ani");
}

Stamp FromDos(uint16_t date, uint16_t time) {
    return {1980 + (date >> 9), (date >> 5) & 15, date & 31,
            time >> 11,         (time >> 5) & 63, (time & 31) * 2};
}

uint64_t FileTimeAtUtcPlus8(const Stamp &s) {
    std::tm tm{};
    tm.tm_year = s.year - 1900;
    tm.tm_mon = s.month - 1;
    tm.tm_mday = s.day;
    tm.tm_hour = s.hour;
    tm.tm_min = s.minute;
    tm.tm_sec = s.second;
    const int64_t unixSeconds = static_cast<int64_t>(timegm(&tm)) - 8 * 3600;
    return static_cast<uint64_t>(unixSeconds + 11644473600LL) * 10000000ULL;
}

std::string ArchiveDir() {
    return KORVANTA_TEST_ARCHIVES;
}

std::string ScratchDir(const std::string &name) {
    // One folder per test process, removed when the process ends.
    static const korvanta::test::TestFolder root;
    const std::string dir = root / name;
    korvanta::test::RemoveTree(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace payload_test
