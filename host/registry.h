#pragma once
// Reads one string value from the registry.

#include "base/text.h"
#include "host/registry_path.h"

#include <cstdint>

namespace korvanta {

// root_code picks the root (kRootCode..., anything else the current user); path is the key path and
// the value name joined by a backslash (a trailing backslash names the key's unnamed value).
// Returns a new text with the value's string (REG_EXPAND_SZ expanded). When the value is
// missing, unreadable or not a string, returns a copy of default_text, or the absent text
// when default_text is null or empty. A value holding the empty string gives the absent
// text, not the default. Reads only, in the registry view of the process's own bitness.
Text ReadRegistryText(int32_t root_code, const char *path, const char *default_text = nullptr);

} // namespace korvanta
