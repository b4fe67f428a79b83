#pragma once
// The text of the fatal error box, apart from the box itself so that it can be tested.

#include "base/double_byte.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace korvanta {

// The box text lives in storage of this size: the report may be made because memory ran out.
inline constexpr size_t kFatalTextCapacity = 1024;

// "运行时出错!", two line breaks; then "错误代码：" and the code with two line breaks unless the
// code is 0; then "错误信息：" and the message with one line break unless it is empty.
// Written NUL-terminated into `out`; gives the length. A message too long for the storage is
// cut before the character that would not fit, whole characters taken by `is_lead_byte`, and
// keeps its line break. Nothing is allocated.
size_t ComposeFatalText(std::string_view message, int32_t code, std::span<char> out,
                        LeadBytePredicate is_lead_byte);

} // namespace korvanta
