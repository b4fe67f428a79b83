#include "base/fatal_text.h"

#include "base/utf.h"

#include <charconv>

namespace korvanta {
namespace {

// Appends whole characters to fixed storage while they fit, always leaving room for the NUL.
class FixedText {
public:
    explicit FixedText(std::span<char16_t> out) : out_(out) {}

    // Stops before the first character that would leave less than `keep_free` units, or that
    // is not UTF-8. False when the piece was cut.
    bool Append(std::string_view piece, size_t keep_free = 0) {
        const size_t limit = out_.size() - 1;
        const size_t room = length_ + keep_free < limit ? limit - length_ - keep_free : 0;
        const UtfFill fill = FillUtf16(piece, out_.subspan(length_, room));
        length_ += fill.written;
        return fill.stop == FillStop::kEnd;
    }

    size_t Finish() {
        out_[length_] = u'\0';
        return length_;
    }

private:
    std::span<char16_t> out_;
    size_t length_ = 0;
};

} // namespace

size_t ComposeFatalText(std::string_view message, int32_t code, std::span<char16_t> out) {
    if (out.empty())
        return 0;
    FixedText text(out);
    // Once a piece is cut, nothing after it is written: no code digits after a cut head.
    if (!text.Append("运行时出错!\r\n\r\n"))
        return text.Finish();
    if (code != 0) {
        char digits[12]; // "-2147483648"
        const auto end = std::to_chars(digits, digits + sizeof digits, code).ptr;
        if (!text.Append("错误代码：") || !text.Append(std::string_view(digits, end - digits)) ||
            !text.Append("\r\n\r\n"))
            return text.Finish();
    }
    // The message's line break is held back while it is written, so that a cut message still
    // ends with it.
    const std::string_view line_break = "\r\n";
    if (!message.empty() && text.Append("错误信息：", line_break.size())) {
        text.Append(message, line_break.size());
        text.Append(line_break);
    }
    return text.Finish();
}

} // namespace korvanta
