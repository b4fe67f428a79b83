#include "host/file_ops.h"

#include "host/file_calls.h"
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
    FileHandle file(OpenFileAt(path.c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
    if (!file.valid())
        return {};
    return FinalPathOf(file.get());
}

struct LevelEntry {
    std::string name;
    std::string path; // the directory's path as given, a backslash and the name
    EntryKind kind;
};

// The entries of one directory that the walk handles, in the platform's order: names
// beginning with a full stop are left out. The enumeration is closed before this returns,
// so the whole level is listed before anything in it goes. A listing cut short leaves what
// it missed in place, and so the directory itself, which its removal reports.
std::vector<LevelEntry> ListLevel(const std::string &directory) {
    std::vector<FolderEntry> listed;
    ListFolder(directory, listed);
    std::vector<LevelEntry> level;
    for (FolderEntry &entry : listed) {
        if (entry.name.empty() || entry.name[0] == '.')
            continue;
        level.push_back({entry.name, directory + "\\" + entry.name, KindOf(entry.attributes)});
    }
    return level;
}

// Deletes a file of the walk through one handle: opened for deletion without following a link
// where the platform allows that, asked on that handle where it resolves, and deleted through
// it only when that is its own place. Wine shows a Unix link to a file as a plain file and
// opens what it points to, which lies elsewhere: such an entry stays. A read-only file refuses
// the deletion, and stays too.
void DeleteInPlace(const LevelEntry &entry, const std::string &own_location) {
    FileHandle file(OpenFileAt(entry.path.c_str(), DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT));
    if (!file.valid())
        return;
    if (!own_location.empty() && LeadsElsewhere(own_location, entry.name, FinalPathOf(file.get())))
        return;
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition);
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
            RemoveFolderAt(entry.path.c_str());
            break;
        case EntryKind::File:
            if (!own_location)
                own_location = Location(directory);
            DeleteInPlace(entry, *own_location);
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
    DWORD attributes = AttributesAt(top.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && KindOf(attributes) == EntryKind::Link)
        return false;
    ClearDirectory(top);
    return RemoveFolderAt(top.c_str());
}

bool WriteBlocks(const char *path, std::initializer_list<const ByteBlock *> blocks) {
    if (!path || !*path)
        return false;
    // No security descriptor: the file takes its folder's permissions. The handle is
    // inheritable, as this operation has always opened its file; that reaches no one, since
    // the program starts no other process.
    SECURITY_ATTRIBUTES security{sizeof(security), nullptr, TRUE};
    FileHandle file(
        OpenFileAt(path, GENERIC_WRITE, 0, &security, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
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
