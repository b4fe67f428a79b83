#pragma once
// File and directory operations of the icon-set actions. Each reports only through its
// result and shows nothing. Creating one directory and moving are single platform calls:
// callers use CreateFolderAt and MovePath (host/file_calls.h). Paths are UTF-8 and go to the
// platform otherwise unchanged; a caller holding an absent text passes "".

#include "base/byte_block.h"

#include <initializer_list>

namespace korvanta {

// Deletes a directory with everything under it, depth first, and returns the result of
// removing the directory itself. Leading spaces of the path are skipped. Refused without
// touching anything: an empty path, a bare drive or drive root ("C:", "C:\"), and a path
// that is itself a link. Inside the tree, names beginning with a full stop and links are
// left in place (so the directories above them stay), and failures to delete an entry do
// not stop the walk. No attribute is changed: a read-only file stays.
bool DeleteTree(const char *path);

// Creates or truncates the file and writes the blocks into it, one after another; blocks of
// zero or negative length (and null ones) are skipped. True only when the file was opened,
// every block written whole and the file closed without error. The file is open without
// sharing while it is written; on failure it is left as far as it got, and a file that could
// not be opened is untouched. GetLastError tells the failing call's error.
bool WriteBlocks(const char *path, std::initializer_list<const ByteBlock *> blocks);

} // namespace korvanta
