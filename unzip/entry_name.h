#pragma once
// Which entry names the extractor will join to a destination.

#include "base/double_byte.h"

#include <string_view>

namespace korvanta {

// False for a name that could land outside the destination or nowhere: empty, 260 bytes or
// more, a NUL byte inside, a leading "/" or "\", a ":" anywhere, a control character or one
// of *?"<>|, an empty component, a component "." or ".." or one ending in a dot or a space,
// a reserved device name as a component (with or without an extension), or a lead byte not
// followed by a trail byte. Only a directory entry may end in a separator.
bool IsSafeEntryName(std::string_view name, bool is_directory, LeadBytePredicate is_lead);

} // namespace korvanta
