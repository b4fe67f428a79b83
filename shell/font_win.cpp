#include "shell/font_win.h"

#include "base/wide_win.h"

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
    LOGFONTW lf{};
    lf.lfHeight = narrow.lfHeight;
    lf.lfWidth = narrow.lfWidth;
    lf.lfEscapement = narrow.lfEscapement;
    lf.lfOrientation = narrow.lfOrientation;
    lf.lfWeight = narrow.lfWeight;
    lf.lfItalic = narrow.lfItalic;
    lf.lfUnderline = narrow.lfUnderline;
    lf.lfStrikeOut = narrow.lfStrikeOut;
    lf.lfCharSet = narrow.lfCharSet;
    lf.lfOutPrecision = narrow.lfOutPrecision;
    lf.lfClipPrecision = narrow.lfClipPrecision;
    lf.lfQuality = narrow.lfQuality;
    lf.lfPitchAndFamily = narrow.lfPitchAndFamily;
    wide_face->copy(lf.lfFaceName, wide_face->size());
    return UniqueFont(CreateFontIndirectW(&lf));
}

} // namespace korvanta
