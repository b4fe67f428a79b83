#pragma once
// The fixed entry lists of the two icon sets: names in archive order, the image format each
// name must have, and the timestamp it carries.

#include "dos_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvanta::payload {

enum class IconSet { Foreign, Stock };

enum class Family {
    Directory,
    BigRank,      // "BigClass_" n, 100 x 100
    Rank,         // "class_" n, 23 x 26
    SmallRank,    // "sclass_" n, 17 x 19
    AllEffFrame,  // "class_AllEff_Ani" n
    LineEffFrame, // "class_LineEff_Ani" n
    PayUserBig,
    PayUserSmall,
    Reject,
    GreenBig,
    GreenSmall,
    Thumbs,
};

inline constexpr uint8_t kTgaUncompressed = 2;
inline constexpr uint8_t kTgaRunLength = 10;

struct TgaFormat {
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t bits = 24; // 24 (BGR) or 32 (BGRA)
    uint8_t type = kTgaUncompressed;
    bool footer = true; // the 26-byte TGA 2.0 footer closes the file

    uint8_t Descriptor() const { return bits == 32 ? 0x08 : 0x00; }
    friend bool operator==(const TgaFormat &, const TgaFormat &) = default;
};

struct Entry {
    std::string name; // full archive name, "class/BigClass_1.tga"
    std::string leaf; // name inside the top folder, "BigClass_1.tga"; empty for the directory
    Family family = Family::Directory;
    int number = -1;                // n of the numbered families, -1 otherwise
    std::optional<TgaFormat> image; // absent for the directory and "Thumbs.db"
    CivilTime time;
    bool shared = false; // byte-identical in both sets
};

inline constexpr uint32_t kThumbsSize = 79360;
inline constexpr int kRankCount = 100;

std::string_view TopFolder(IconSet set);
std::string_view SetName(IconSet set);

// Every entry of the set, directory first, in ascending byte order of the full names.
std::vector<Entry> EntryList(IconSet set);

} // namespace korvanta::payload
