#include "base/utf.h"

namespace korvanta {
namespace {

// One character: its code point and how many code units it took; none (length 0) when the
// units at that place are not well-formed.
struct Decoded {
    char32_t code = 0;
    size_t length = 0;
};

// The well-formed UTF-8 sequences, as Unicode lists them: the lead byte fixes the length and
// the range of the first continuation byte, which rules out overlong forms (E0, F0),
// surrogates (ED) and code points past U+10FFFF (F4); C0, C1 and F5 to FF never lead.
Decoded DecodeUtf8(std::string_view text, size_t at) {
    const auto unit = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = unit(at);
    if (lead < 0x80)
        return {lead, 1};
    size_t length = 0;
    char32_t code = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {};
    }
    if (text.size() - at < length)
        return {};
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = unit(at + i);
        if (next < low || next > high)
            return {};
        low = 0x80;
        high = 0xBF;
        code = code << 6 | (next & 0x3F);
    }
    return {code, length};
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

Decoded DecodeUtf16(std::u16string_view text, size_t at) {
    const char16_t unit = text[at];
    if (IsLowSurrogate(unit))
        return {};
    if (!IsHighSurrogate(unit))
        return {unit, 1};
    if (at + 1 == text.size() || !IsLowSurrogate(text[at + 1]))
        return {};
    return {0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[at + 1] - 0xDC00), 2};
}

void AppendUtf16(std::u16string &out, char32_t code) {
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
        return;
    }
    code -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code >> 10));
    out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

void AppendUtf8(std::string &out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    const size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    static const unsigned char kLeadMarks[] = {0, 0, 0xC0, 0xE0, 0xF0};
    char units[4];
    for (size_t i = length - 1; i > 0; --i) {
        units[i] = static_cast<char>(0x80 | (code & 0x3F));
        code >>= 6;
    }
    units[0] = static_cast<char>(kLeadMarks[length] | code);
    out.append(units, length);
}

template <typename To, typename From, typename Decode, typename Append>
UtfResult<To> Convert(std::basic_string_view<From> text, Decode decode, Append append) {
    UtfResult<To> result;
    result.text.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const Decoded d = decode(text, at);
        if (d.length == 0) {
            result.status = UtfStatus::kInvalid;
            result.text.clear();
            result.invalid_at = at;
            return result;
        }
        append(result.text, d.code);
        at += d.length;
    }
    result.status = UtfStatus::kConverted;
    return result;
}

template <typename Char>
std::string DescribeAs(const UtfResult<Char> &result, const char *invalid) {
    switch (result.status) {
    case UtfStatus::kConverted:
        return "converted";
    case UtfStatus::kAbsent:
        return "absent";
    case UtfStatus::kInvalid:
        break;
    }
    return invalid + std::to_string(result.invalid_at);
}

} // namespace

UtfResult<char16_t> Utf8ToUtf16(std::string_view utf8) {
    return Convert<char16_t>(utf8, DecodeUtf8, AppendUtf16);
}

UtfResult<char16_t> Utf8ToUtf16(const char *utf8) {
    return utf8 ? Utf8ToUtf16(std::string_view(utf8)) : UtfResult<char16_t>{};
}

UtfResult<char> Utf16ToUtf8(std::u16string_view utf16) {
    return Convert<char>(utf16, DecodeUtf16, AppendUtf8);
}

UtfResult<char> Utf16ToUtf8(const char16_t *utf16) {
    return utf16 ? Utf16ToUtf8(std::u16string_view(utf16)) : UtfResult<char>{};
}

UtfFill FillUtf16(std::string_view utf8, std::span<char16_t> out) {
    UtfFill fill;
    while (fill.read < utf8.size()) {
        const Decoded d = DecodeUtf8(utf8, fill.read);
        if (d.length == 0) {
            fill.stop = FillStop::kInvalid;
            return fill;
        }
        const size_t units = d.code < 0x10000 ? 1 : 2;
        if (out.size() - fill.written < units) {
            fill.stop = FillStop::kFull;
            return fill;
        }
        if (units == 1) {
            out[fill.written] = static_cast<char16_t>(d.code);
        } else {
            const char32_t above = d.code - 0x10000;
            out[fill.written] = static_cast<char16_t>(0xD800 + (above >> 10));
            out[fill.written + 1] = static_cast<char16_t>(0xDC00 + (above & 0x3FF));
        }
        fill.written += units;
        fill.read += d.length;
    }
    return fill;
}

std::string Describe(const UtfResult<char16_t> &result) {
    return DescribeAs(result, "not UTF-8 at byte offset ");
}

std::string Describe(const UtfResult<char> &result) {
    return DescribeAs(result, "not UTF-16 at unit offset ");
}

} // namespace korvanta
