#pragma once
// Texts of the system code page are walked by characters: a lead byte forms one character
// with the byte after it, so a trail byte equal to "\" never separates anything.

#include <cstddef>
#include <string_view>

namespace korvanta {

// Whether a byte starts a double-byte character. Passed in, so that the path logic runs
// (and is tested) apart from Windows.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The byte count of the character at text[at]: 2 for a lead byte with a byte after it.
inline size_t CharLength(std::string_view text, size_t at, LeadBytePredicate is_lead) {
    return is_lead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

} // namespace korvanta
