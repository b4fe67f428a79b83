#pragma once
// The ZIP layout of the embedded archives: local header and data per entry, back to back, the
// central directory with an NTFS time field per entry, and the end record. No data
// descriptors, no comment, no ZIP64.

#include "dos_time.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvanta::payload {

struct ZipItem {
    std::string name; // a directory name ends in '/'
    CivilTime time;   // local time at UTC+8
    std::vector<uint8_t> data;
};

inline constexpr uint16_t kZipVersionMadeBy = 0x003F; // MS-DOS attributes, format 6.3
inline constexpr uint16_t kZipVersionNeeded = 20;
inline constexpr uint32_t kZipAttrDirectory = 0x10;
inline constexpr uint32_t kZipAttrArchive = 0x20;
inline constexpr uint16_t kZipNtfsTag = 0x000A;
inline constexpr uint16_t kZipNtfsExtraSize = 36;

// Raw deflate (no zlib wrapper) at level 9: fixed settings keep the bytes reproducible.
std::vector<uint8_t> Deflate(const std::vector<uint8_t> &data);

// The whole archive, items in the order given: directories stored with size 0, files deflated.
std::vector<uint8_t> WriteZip(const std::vector<ZipItem> &items);

} // namespace korvanta::payload
