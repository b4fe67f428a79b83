#include "host/tree_walk.h"

namespace korvanta {
namespace {

EntryKind KindOf(uint32_t attributes) {
    // A junction or directory link is never entered and never removed: removing it can
    // remove what it points to (Wine removes the target), which lies outside the tree.
    if (attributes & kAttributeReparsePoint)
        return EntryKind::Link;
    return (attributes & kAttributeDirectory) ? EntryKind::Directory : EntryKind::File;
}

// A canonical location may end in a backslash (a volume root); a listed path never adds one.
std::string Inside(const std::string &parent, const std::string &name) {
    std::string path = parent;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    path += name;
    return path;
}

// A file entry that resolves somewhere other than its own place in the directory is a link
// the attributes did not reveal: Wine shows a Unix link to a file as a plain file, and
// DeleteFileA on it deletes the file it points to. When either place cannot be learned the
// entry is taken for what it claims to be.
class LevelLocation {
public:
    LevelLocation(TreePlatform &platform, const std::string &directory)
        : platform_(platform), directory_(directory) {}

    bool LeadsElsewhere(const std::string &path, const std::string &name) {
        if (!known_) {
            own_ = platform_.Location(directory_);
            known_ = true;
        }
        if (own_.empty())
            return false;
        std::string actual = platform_.Location(path);
        return !actual.empty() && actual != Inside(own_, name);
    }

private:
    TreePlatform &platform_;
    const std::string &directory_;
    std::string own_;
    bool known_ = false;
};

void ClearDirectory(TreePlatform &platform, const std::string &directory) {
    // The whole level is listed, and its enumeration closed, before anything in it goes.
    std::vector<TreeEntry> entries = ListLevel(platform, directory);
    LevelLocation location(platform, directory);
    // Failures are not looked at: an entry that stays keeps every directory above it,
    // which the final removal reports.
    for (const TreeEntry &entry : entries) {
        switch (entry.kind) {
        case EntryKind::Directory:
            ClearDirectory(platform, entry.path);
            platform.RemoveEmptyDirectory(entry.path);
            break;
        case EntryKind::File:
            if (!location.LeadsElsewhere(entry.path, entry.path.substr(directory.size() + 1)))
                platform.RemoveFile(entry.path);
            break;
        case EntryKind::Link:
            break;
        }
    }
}

} // namespace

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

std::vector<TreeEntry> ListLevel(TreePlatform &platform, const std::string &directory) {
    std::vector<TreeEntry> level;
    for (FoundEntry &found : platform.List(directory + "\\*.*")) {
        if (found.name.empty() || found.name[0] == '.')
            continue;
        level.push_back({directory + "\\" + found.name, KindOf(found.attributes)});
    }
    return level;
}

bool DeleteTreeOn(TreePlatform &platform, const char *path) {
    const char *start = SkipLeadingSpaces(path ? path : "");
    if (*start == '\0' || IsDriveRoot(start))
        return false;
    std::string top(start);
    uint32_t attributes = platform.Attributes(top);
    if (attributes != kNoAttributes && (attributes & kAttributeReparsePoint))
        return false;
    ClearDirectory(platform, top);
    return platform.RemoveEmptyDirectory(top);
}

} // namespace korvanta
