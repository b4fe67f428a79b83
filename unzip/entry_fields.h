#pragma once
// How an entry's central record and local extra field become the fields of its record:
// the Win32 attribute bits and the times of the extended-timestamp ("UT") block.

#include <cstddef>
#include <cstdint>

namespace korvanta {

// Win32 attribute bits, spelt out so that this file needs no platform header.
inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrHidden = 0x02;
inline constexpr uint32_t kAttrSystem = 0x04;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;
inline constexpr uint32_t kAttrNormal = 0x80;

// The attributes of an entry from its 32-bit external attributes, whatever host made the
// archive: the lower half read as DOS bits, the upper half as a Unix mode.
uint32_t MapExternalAttributes(uint32_t external);

// The times an extended-timestamp block carries, in seconds since 1970-01-01 00:00 UTC,
// read as signed 32-bit values (a negative one lies before 1970).
struct ExtendedTimes {
    bool has_write = false;
    bool has_access = false;
    bool has_creation = false;
    int32_t write = 0;
    int32_t access = 0;
    int32_t creation = 0;
};

// Walks the blocks of a local extra field to the first "UT" block and reads its times. A
// time that does not lie wholly inside both the block and the field is not taken.
ExtendedTimes ReadExtendedTimestamp(const uint8_t *field, size_t length);

} // namespace korvanta
