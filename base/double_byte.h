#pragma once
// Texts in a double-byte code page are walked by characters: a lead byte forms one character
// with the byte after it, so a trail byte equal to "\" never separates anything. Which bytes
// lead is a rule the caller passes in, fixed by the text's own encoding: GBK's for the names
// of an archive that does not flag them as UTF-8, none for UTF-8 texts, the program's own.
// The walk itself needs no platform and is tested natively.

#include <cstddef>
#include <string>
#include <string_view>

namespace korvanta {

// Whether a byte starts a double-byte character.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The rule of UTF-8 texts, which the program's own are: no byte leads another, since no byte of
// a longer UTF-8 character is below 0x80 and so none is a "\" or a "/".
inline bool NoLeadByte(unsigned char) {
    return false;
}

// The rule of GBK (code page 936), the encoding of names in an archive that does not flag them
// as UTF-8: 0x81 to 0xFE lead.
inline bool IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// The byte count of the character at text[at]: 2 for a lead byte with a byte after it. A lead
// byte cut off at the end stands alone.
inline size_t CharLength(std::string_view text, size_t at, LeadBytePredicate is_lead) {
    return is_lead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// The position of the last "\" that is a character of its own, or npos.
inline size_t LastBackslash(std::string_view text, LeadBytePredicate is_lead) {
    size_t last = std::string_view::npos;
    for (size_t at = 0; at < text.size();) {
        const size_t length = CharLength(text, at, is_lead);
        if (length == 1 && text[at] == '\\')
            last = at;
        at += length;
    }
    return last;
}

struct SplitText {
    std::string before; // empty without any backslash
    std::string after;
};

// The text before and after its last "\" that is a character of its own; without one, the
// whole text comes after.
inline SplitText SplitAtLastBackslash(std::string_view text, LeadBytePredicate is_lead) {
    const size_t last = LastBackslash(text, is_lead);
    if (last == std::string_view::npos)
        return {std::string(), std::string(text)};
    return {std::string(text.substr(0, last)), std::string(text.substr(last + 1))};
}

} // namespace korvanta
