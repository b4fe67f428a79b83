#pragma once
// The decisions of DeleteTree apart from the platform calls: which paths are refused, what
// an enumerated entry is taken for, and whether a file leads out of the tree. The walk
// itself is in file_ops_win.cpp.

#include <cstdint>
#include <string>

namespace korvanta {

// The path after its leading spaces (only byte 0x20, only at the front).
const char *SkipLeadingSpaces(const char *path);

// A bare drive ("C:") or a drive root ("C:\"): the second byte is a colon and at most one
// backslash follows it.
bool IsDriveRoot(const char *path);

enum class EntryKind { File, Directory, Link };

// What the walk takes an entry for, by the attributes the enumeration reports. Anything
// carrying the reparse-point bit is a link, whatever else it claims to be.
EntryKind KindOf(uint32_t attributes);

// Whether a file entry resolves somewhere other than its own place in its directory, given
// the canonical location of the directory and the one of the entry. Either may be empty
// when it could not be learned, and the entry is then taken for what it claims to be.
bool LeadsElsewhere(const std::string &directory_location, const std::string &name,
                    const std::string &entry_location);

} // namespace korvanta
