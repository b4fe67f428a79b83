#pragma once
// minizip's file access over a file the reader has already opened with CreateFileA.

#include <windows.h>

#include "unzip.h"

namespace korvanta {

// Routes minizip's reads, seeks and position queries through the open handle. minizip's
// "open" answers with that handle and its "close" leaves it alone: the reader owns it.
zlib_filefunc_def HandleFileAccess(HANDLE file);

} // namespace korvanta
