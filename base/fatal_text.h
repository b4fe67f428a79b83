#pragma once
// The text of the fatal error box, apart from the box itself so that it can be tested.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace korvanta {

// The box text lives in storage of this many UTF-16 units: the report may be made because
// memory ran out.
inline constexpr size_t kFatalTextCapacity = 1024;

// "运行时出错!", two line breaks; then "错误代码：" and the code with two line breaks unless the
// code is 0; then "错误信息：" and the message (UTF-8) with one line break unless it is empty.
// Written in UTF-16, NUL-terminated, into `out`, for the wide message box; gives the length in
// units. A message too long for the storage is cut before the character that would not fit (a
// surrogate pair stays whole) and keeps its line break; a message that is not UTF-8 ends before
// the first byte that is not, rather than show other characters. Nothing is allocated.
size_t ComposeFatalText(std::string_view message, int32_t code, std::span<char16_t> out);

} // namespace korvanta
