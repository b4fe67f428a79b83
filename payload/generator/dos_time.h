#pragma once
// Calendar times of the archive entries and their two encodings: the MS-DOS date and time of
// the ZIP headers and the FILETIME of the NTFS extra field.

#include <cstdint>

namespace korvanta::payload {

struct CivilTime {
    int year = 1980, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;

    friend bool operator==(const CivilTime &, const CivilTime &) = default;
    friend auto operator<=>(const CivilTime &, const CivilTime &) = default;
};

struct DosStamp {
    uint16_t time = 0;
    uint16_t date = 0;
};

// The archives were packed on a machine at UTC+8; their DOS times are that local time.
inline constexpr int kPackingUtcOffsetHours = 8;

// MS-DOS keeps seconds in units of two; an odd second is rounded down.
DosStamp ToDos(const CivilTime &t);

// 100-nanosecond intervals since 1601-01-01 00:00 UTC of a local time at the given offset.
uint64_t FileTimeOfLocal(const CivilTime &local, int utc_offset_hours);

} // namespace korvanta::payload
