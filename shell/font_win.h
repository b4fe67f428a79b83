#pragma once
// A unit's stored font description made into a font.

#include "shell/win_handles.h"

#include <cstdint>
#include <span>

namespace korvanta {

// The description is a LOGFONTA of exactly 60 bytes whose face name is UTF-8, as every text of
// the program is; the font is made from its wide form. Anything else, a face name that is not
// UTF-8 or one too long for the wide form among them, gives no font (the default font then).
UniqueFont FontFromDescription(std::span<const uint8_t> description);

} // namespace korvanta
