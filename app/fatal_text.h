#pragma once
// The text of the fatal error box, apart from the box itself so that it can be tested.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvanta {

// "运行时出错!", two line breaks; then "错误代码：" and the code with two line breaks unless the
// code is 0; then "错误信息：" and the message with one line break unless it is empty.
std::string ComposeFatalText(std::string_view message, int32_t code);

} // namespace korvanta
