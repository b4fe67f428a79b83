#include "host/value_render.h"

#include "base/platform_values.h"

#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace korvanta {
namespace {

// 1 January 100 and 31 December 9999, the range an OLE date can be shown in.
constexpr double kFirstOleDate = -657434.0;
constexpr double kLastOleDate = 2958465.0;

double PowerOfTen(int exponent) {
    double p = 1.0;
    for (int i = 0; i < exponent; ++i)
        p *= 10.0;
    return p;
}

// Days since 1 March of year 0 of the proleptic Gregorian calendar, back to a date.
void CivilDate(int64_t days_since_epoch, CalendarTime &out) {
    int64_t z = days_since_epoch + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int64_t month = mp < 10 ? mp + 3 : mp - 9;
    out.year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    out.month = static_cast<int>(month);
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
}

void RenderDate(double ole_date, RenderBuffer &buffer) {
    CalendarTime t = BreakDownOleDate(ole_date);
    int n = std::snprintf(buffer.data(), buffer.size(), "%d年%d月%d日", t.year, t.month, t.day);
    char *rest = buffer.data() + n;
    size_t room = buffer.size() - static_cast<size_t>(n);
    if (t.second != 0)
        std::snprintf(rest, room, "%d时%d分%d秒", t.hour, t.minute, t.second);
    else if (t.minute != 0)
        std::snprintf(rest, room, "%d时%d分", t.hour, t.minute);
    else if (t.hour != 0)
        std::snprintf(rest, room, "%d时", t.hour);
}

} // namespace

double ReduceFloat(float x) {
    int e2 = static_cast<int>((std::bit_cast<uint32_t>(x) >> 23) & 0xFF) - 127;
    int e10 = static_cast<int>(e2 * 0.30102999566398120); // truncated toward zero
    double p = PowerOfTen(e10 < 0 ? -e10 : e10);
    double v = std::fabs(static_cast<double>(x));
    v = e10 > 0 ? v / p : v * p;
    double w;
    if (v >= 10.0) {
        ++e10;
        p *= 10.0;
        w = v * 1e4;
    } else if (v >= 1.0) {
        w = v * 1e5;
    } else {
        --e10;
        p *= 10.0;
        w = v * 1e6;
    }
    double digits;
    double fraction = std::modf(w, &digits);
    if (fraction >= 0.5)
        digits += 1.0;
    double reduced = e10 > 0 ? digits * p * 1e-5 : digits / (p * 1e5);
    return x < 0 ? -reduced : reduced;
}

CalendarTime BreakDownOleDate(double ole_date) {
    double d = ole_date;
    if (std::isnan(d))
        d = 0.0; // no date at all; shown as the epoch rather than left undefined
    if (d > kLastOleDate)
        d = kLastOleDate;
    if (d < kFirstOleDate)
        d = kFirstOleDate;
    // Before the epoch the day counts backwards but the fraction still runs forward from
    // that day's midnight: -1.25 is 29 December 1899, 06:00.
    double whole = std::trunc(d);
    auto days = static_cast<int64_t>(whole);
    auto seconds = static_cast<int64_t>(std::floor(std::fabs(d - whole) * 86400.0 + 0.5));
    if (seconds >= 86400) {
        seconds -= 86400;
        ++days;
    }
    CalendarTime t{};
    CivilDate(days - 25569, t); // the OLE epoch is 25569 days before 1 January 1970
    t.hour = static_cast<int>(seconds / 3600);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.second = static_cast<int>(seconds % 60);
    return t;
}

const char *RenderValueText(const TypedValue &value, RenderBuffer &buffer) {
    buffer[0] = '\0';
    switch (value.type()) {
    case ValueType::Byte:
        std::snprintf(buffer.data(), buffer.size(), "%u", unsigned{value.byte_value()});
        break;
    case ValueType::Short:
        std::snprintf(buffer.data(), buffer.size(), "%d", int32_t{value.short_value()});
        break;
    case ValueType::Integer:
        std::snprintf(buffer.data(), buffer.size(), "%" PRId32, value.integer_value());
        break;
    case ValueType::Long:
        std::snprintf(buffer.data(), buffer.size(), "%" PRId64, value.long_value());
        break;
    case ValueType::Float:
        std::snprintf(buffer.data(), buffer.size(), "%.6g", ReduceFloat(value.float_value()));
        break;
    case ValueType::Double:
        std::snprintf(buffer.data(), buffer.size(), "%.13g", value.double_value());
        break;
    case ValueType::Logical:
        return value.logical_value() ? "真" : "假";
    case ValueType::DateTime:
        RenderDate(value.date_value(), buffer);
        break;
    case ValueType::Text:
        return value.text_value() ? value.text_value() : "";
    case ValueType::Omitted:
    case ValueType::Block:
        break;
    }
    return buffer.data();
}

const char *CaptionText(const TypedValue &caption, RenderBuffer &buffer) {
    if (caption.type() == ValueType::Omitted)
        return "信息：";
    return RenderValueText(caption, buffer);
}

int32_t FlagsValue(const TypedValue &flags) {
    switch (flags.type()) {
    case ValueType::Byte:
        return flags.byte_value();
    case ValueType::Short:
        return flags.short_value();
    case ValueType::Integer:
        return flags.integer_value();
    case ValueType::Long:
        return static_cast<int32_t>(flags.long_value());
    default:
        return 0;
    }
}

int32_t MessageStyle(int32_t flags) {
    return (flags & win::kMbSystemModal) ? flags : flags | win::kMbTaskModal;
}

int32_t MessageResultCode(int32_t platform_result) {
    return platform_result >= 1 && platform_result <= 7 ? platform_result - 1 : 0;
}

} // namespace korvanta
