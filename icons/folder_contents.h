#pragma once
// What stands at a path, and whether a folder holds only copies of the program's own icon
// files (which it can always make again) or something it could not replace.

#include "icons/action_plan.h"

namespace korvanta {

Place PlaceAt(const char *path);

// A file counts as the program's own copy when its name is one of the two sets' files and it
// holds that file's bytes, or their beginning (an unpacking cut short). A file whose size and
// write time are the set file's is taken as a copy without being read: the extractor gives
// every file its entry's time. Thumbs.db, the system's thumbnail cache, always counts.
// Anything else, a subfolder or a link included, makes the folder's holding Other.
Holding FolderHolding(const char *path);

} // namespace korvanta
