#include "shell/font_win.h"

#include "base/wide_win.h"

#include <cstddef>
#include <cstring>
#include <string_view>

namespace korvanta {

UniqueFont FontFromDescription(std::span<const uint8_t> description) {
    LOGFONTA narrow;
    if (description.size() != sizeof narrow)
        return UniqueFont();
    std::memcpy(&narrow, description.data(), sizeof narrow);
    const std::string_view face(narrow.lfFaceName, strnlen(narrow.lfFaceName, LF_FACESIZE));
    const std::optional<std::wstring> wide_face = ToWide(face);
    if (!wide_face || wide_face->size() >= LF_FACESIZE)
        return UniqueFont();
    // Everything before the face name is laid out alike in both forms.
    static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName));
    LOGFONTW lf{};
    std::memcpy(&lf, &narrow, offsetof(LOGFONTA, lfFaceName));
    wide_face->copy(lf.lfFaceName, wide_face->size());
    return UniqueFont(CreateFontIndirectW(&lf));
}

} // namespace korvanta
