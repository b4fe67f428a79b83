#include "app/fatal_text.h"

namespace korvanta {

std::string ComposeFatalText(std::string_view message, int32_t code) {
    std::string text = "运行时出错!\r\n\r\n";
    if (code != 0) {
        text += "错误代码：";
        text += std::to_string(code);
        text += "\r\n\r\n";
    }
    if (!message.empty()) {
        text += "错误信息：";
        text += message;
        text += "\r\n";
    }
    return text;
}

} // namespace korvanta
