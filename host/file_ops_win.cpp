#include "host/file_ops.h"

#include "host/handles.h"
#include "host/tree_walk.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace korvanta {
namespace {

// Where the path really leads once every link on the way is followed, in one canonical
// spelling; empty when that cannot be learned.
std::string Location(const std::string &path) {
    // No access asked for, every sharing allowed: this open never conflicts with a holder of
    // the file. Backup semantics let directories open too.
    FileHandle file(CreateFileA(path.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return {};
    std::string location(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetFinalPathNameByHandleA(file.get(), location.data(),
                                            static_cast<DWORD>(location.size()), 0);
        if (n == 0)
            return {};
        if (n < location.size()) {
            location.resize(n);
            return location;
        }
        location.resize(n + 1); // n is the size needed, terminator included
    }
}

struct LevelEntry {
    std::string name;
    std::string path; // the directory's path as given, a backslash and the name
    EntryKind kind;
};

// The entries of one directory that the walk handles, in the platform's order: names
// beginning with a full stop are left out. The enumeration is closed before this returns,
// so the whole level is listed before anything in it goes.
std::vector<LevelEntry> ListLevel(const std::string &directory) {
    std::vector<LevelEntry> level;
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((directory + "\\*.*").c_str(), &found));
    if (!find.valid())
        return level;
    do {
        if (found.cFileName[0] == '\0' || found.cFileName[0] == '.')
            continue;
        level.push_back(
            {found.cFileName, directory + "\\" + found.cFileName, KindOf(found.dwFileAttributes)});
    } while (FindNextFileA(find.get(), &found));
    find.Close();
    return level;
}

void ClearDirectory(const std::string &directory) {
    std::vector<LevelEntry> entries = ListLevel(directory);
    // The directory's own location is learned at its first file, once.
    std::optional<std::string> own_location;
    // Failures are not looked at: an entry that stays keeps every directory above it,
    // which the final removal reports.
    for (const LevelEntry &entry : entries) {
        switch (entry.kind) {
        case EntryKind::Directory:
            ClearDirectory(entry.path);
            RemoveDirectoryA(entry.path.c_str());
            break;
        case EntryKind::File:
            // Wine shows a Unix link to a file as a plain file, and DeleteFileA on it
            // deletes the file it points to: such an entry resolves outside its directory.
            if (!own_location)
                own_location = Location(directory);
            if (own_location->empty() ||
                !LeadsElsewhere(*own_location, entry.name, Location(entry.path)))
                DeleteFileA(entry.path.c_str());
            break;
        case EntryKind::Link:
            break;
        }
    }
}

} // namespace

bool DeleteTree(const char *path) {
    const char *start = SkipLeadingSpaces(path ? path : "");
    if (*start == '\0' || IsDriveRoot(start))
        return false;
    std::string top(start);
    DWORD attributes = GetFileAttributesA(top.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && KindOf(attributes) == EntryKind::Link)
        return false;
    ClearDirectory(top);
    return RemoveDirectoryA(top.c_str()) != FALSE;
}

bool WriteBlocks(const char *path, std::initializer_list<const ByteBlock *> blocks) {
    if (!path || !*path)
        return false;
    // No security descriptor: the file takes its folder's permissions. The handle is
    // inheritable, as this operation has always opened its file; that reaches no one, since
    // the program starts no other process.
    SECURITY_ATTRIBUTES security{sizeof(security), nullptr, TRUE};
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, &security, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    for (const ByteBlock *block : blocks) {
        if (!block || block->byte_count <= 0)
            continue;
        // One write per block; the first that fails or falls short ends the run, and the
        // owner closes the file keeping that write's error.
        auto count = static_cast<DWORD>(block->byte_count);
        DWORD written = 0;
        if (!WriteFile(file.get(), block->bytes(), count, &written, nullptr) || written != count)
            return false;
    }
    return file.Close();
}

} // namespace korvanta
