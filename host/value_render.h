#pragma once
// What the message box shows, decided apart from the platform: the text of a typed value,
// the caption, the style bits and the result code.

#include "host/typed_value.h"

#include <array>
#include <cstdint>

namespace korvanta {

// Every rendering that is not a text of the caller's fits in 100 bytes.
using RenderBuffer = std::array<char, 100>;

// The message text of a value: integers in decimal, a float reduced to six significant
// digits, a double to thirteen, a logical as 真 or 假, a date-time as its calendar date and
// time of day, a text passed through as it is (not copied; the absent text gives ""), and
// "" for everything else. Non-text renderings are written into buffer.
const char *RenderValueText(const TypedValue &value, RenderBuffer &buffer);

// A float cut to six significant decimal digits, halves away from zero, as a double.
double ReduceFloat(float x);

struct CalendarTime {
    int year, month, day, hour, minute, second;
    bool operator==(const CalendarTime &) const = default;
};

// An OLE Automation date clamped to 1 January 100 .. 31 December 9999 and broken into
// calendar fields to the nearest second.
CalendarTime BreakDownOleDate(double ole_date);

// The caption: "信息：" when the argument was left out, else the argument rendered like a
// message. The absent text gives "": an empty title rather than the platform's own default
// ("Error" or its translation), which would misname an ordinary notice.
const char *CaptionText(const TypedValue &caption, RenderBuffer &buffer);

// The flags as the style bits: an integer of any width, 0 when left out or not an integer.
int32_t FlagsValue(const TypedValue &flags);

// Task-modal unless the caller asked for system-modal.
int32_t MessageStyle(int32_t flags);

// The pressed button as a code: IDOK..IDNO (1..7) give 0..6, anything else (0 included,
// a box that could not be shown) gives 0.
int32_t MessageResultCode(int32_t platform_result);

} // namespace korvanta
