#pragma once
// How an entry's central record and local extra field become the fields of its record:
// the Win32 attribute bits and the times of the extended-timestamp ("UT") block.

#include <cstddef>
#include <cstdint>

namespace korvanta {

// The attributes of an entry (Win32 attribute bits) from its 32-bit external attributes,
// whatever system made the archive: the lower half read as DOS bits, the upper half as a Unix
// mode.
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
