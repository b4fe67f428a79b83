#pragma once
// The paths the extractor and the reader derive: an entry's target, the levels of a
// directory chain, and the parent folders the reader creates under its working directory.

#include "base/double_byte.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvanta {

// The destination, a "\" unless its last character already is one (a double-byte character
// ending in 0x5C is not), then the entry name with every "/" turned into "\".
std::string FormTargetPath(std::string_view destination, std::string_view entry_name,
                           LeadBytePredicate is_lead);

// The prefixes of a directory chain, shortest first, each ending in the "\" that closes its
// level. The path gets a closing "\" when it has none; an empty path is "\". Only "\"
// separates levels, never "/".
std::vector<std::string> DirectoryChainPrefixes(std::string_view path, LeadBytePredicate is_lead);

// The working directory followed by each level of a relative folder part: the part before
// each "/" or "\", then the whole part.
std::vector<std::string> DirectoryLevelsUnder(std::string_view working_dir, std::string_view part);

// The parent folders to create for a target file: the levels of the text before its last
// "/" or "\" under the working directory. None for a target without a separator, an absolute
// one ("\..", "/..", "X:..") or one whose folder part holds "../" or "..\".
std::vector<std::string> ParentDirectoriesOf(std::string_view target, std::string_view working_dir);

} // namespace korvanta
