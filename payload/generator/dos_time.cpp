#include "dos_time.h"

namespace korvanta::payload {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil).
int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr int64_t kSecondsFrom1601To1970 = 11644473600;

} // namespace

DosStamp ToDos(const CivilTime &t) {
    DosStamp s;
    s.time = static_cast<uint16_t>((t.hour << 11) | (t.minute << 5) | (t.second / 2));
    s.date = static_cast<uint16_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
    return s;
}

uint64_t FileTimeOfLocal(const CivilTime &local, int utc_offset_hours) {
    const int64_t seconds = DaysFromCivil(local.year, local.month, local.day) * 86400 +
                            local.hour * 3600 + local.minute * 60 + local.second -
                            int64_t{utc_offset_hours} * 3600;
    return static_cast<uint64_t>(seconds + kSecondsFrom1601To1970) * 10000000u;
}

} // namespace korvanta::payload
