#include "host/tree_walk.h"

#include "base/platform_values.h"

namespace korvanta {

const char *SkipLeadingSpaces(const char *path) {
    while (*path == ' ')
        ++path;
    return path;
}

bool IsDriveRoot(const char *path) {
    if (path[0] == '\0' || path[1] != ':')
        return false;
    return path[2] == '\0' || (path[2] == '\\' && path[3] == '\0');
}

EntryKind KindOf(uint32_t attributes) {
    // A junction or directory link is never entered and never removed: removing it can
    // remove what it points to (Wine removes the target), which lies outside the tree.
    if (attributes & win::kFileAttributeReparsePoint)
        return EntryKind::Link;
    return (attributes & win::kFileAttributeDirectory) ? EntryKind::Directory : EntryKind::File;
}

bool LeadsElsewhere(const std::string &directory_location, const std::string &name,
                    const std::string &entry_location) {
    if (directory_location.empty() || entry_location.empty())
        return false;
    // A canonical location may end in a backslash (a volume root); a listed path never adds one.
    std::string own_place = directory_location;
    if (own_place.back() != '\\')
        own_place += '\\';
    return entry_location != own_place + name;
}

} // namespace korvanta
