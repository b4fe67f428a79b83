#include "icons/game_paths.h"

#include "app/content.h"
#include "icons/main_window.h"

#include <windows.h>

namespace korvanta {

Text GamePath(const char *suffix) {
    Text root = ReadContent(kEditBox1);
    return Concat({root.get(), suffix});
}

bool PathExists(const char *path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const char *path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace korvanta
