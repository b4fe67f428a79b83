#pragma once
// Where the program's texts meet the platform's wide calls. Inside, every text and path is
// UTF-8 (Text, std::string, the literals); every call into Windows that takes or gives a text
// is a wide (W) call, and the text crosses here, in both directions, through the one converter
// of base/utf.h. A text that is not well-formed is refused, never passed on as other
// characters: a path turned into '?' or U+FFFD names another file.
//
// UTF-8 also makes the double-byte walk moot for these texts: no byte of a multi-byte UTF-8
// character is below 0x80, so a byte "\" or "/" is always a character of its own.

#include "base/text.h"
#include "base/utf.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace korvanta {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the platform's wide texts are UTF-16");

// The UTF-16 form of a UTF-8 text for a wide call; nothing for a text that is not UTF-8.
inline std::optional<std::wstring> ToWide(std::string_view utf8) {
    UtfResult<char16_t> wide = Utf8ToUtf16(utf8);
    if (wide.status == UtfStatus::kInvalid)
        return std::nullopt;
    return std::wstring(wide.text.begin(), wide.text.end());
}

// An absent text crosses as the empty one.
inline std::optional<std::wstring> ToWide(const char *utf8) {
    return ToWide(utf8 ? std::string_view(utf8) : std::string_view());
}

// The UTF-8 form of a text a wide call gave; nothing for one with a lone surrogate.
inline std::optional<std::string> FromWide(std::wstring_view utf16) {
    UtfResult<char> narrow = Utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t *>(utf16.data()), utf16.size()));
    if (narrow.status == UtfStatus::kInvalid)
        return std::nullopt;
    return std::move(narrow.text);
}

// The UTF-8 form of bytes in a fixed code page (the names in an archive written on a system of
// that code page); nothing when they are not well-formed there. The code page is the text's
// own, never the system's.
inline std::optional<std::string> FromCodePage(UINT code_page, std::string_view bytes) {
    if (bytes.empty())
        return std::string();
    const int length = static_cast<int>(bytes.size());
    const int units =
        MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (units <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(units), L'\0');
    if (MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(),
                            units) != units)
        return std::nullopt;
    return FromWide(wide);
}

} // namespace korvanta
