#pragma once
// The decisions of DeleteTree, apart from the platform: which paths are refused, what a
// directory level lists, and the order in which entries go. The platform calls come in
// through TreePlatform, so the walk runs against a real disk or a recorded fake alike.

#include <cstdint>
#include <string>
#include <vector>

namespace korvanta {

inline constexpr uint32_t kAttributeDirectory = 0x10;     // FILE_ATTRIBUTE_DIRECTORY
inline constexpr uint32_t kAttributeReparsePoint = 0x400; // FILE_ATTRIBUTE_REPARSE_POINT
inline constexpr uint32_t kNoAttributes = 0xFFFFFFFF;     // INVALID_FILE_ATTRIBUTES

// One entry as the enumeration reports it.
struct FoundEntry {
    std::string name;
    uint32_t attributes = 0;
};

class TreePlatform {
public:
    virtual ~TreePlatform() = default;
    // GetFileAttributesA; kNoAttributes when the path cannot be read.
    virtual uint32_t Attributes(const std::string &path) = 0;
    // Every entry the pattern enumerates, in the platform's order; empty when the first
    // call fails. The enumeration is closed before this returns.
    virtual std::vector<FoundEntry> List(const std::string &pattern) = 0;
    // Where the path really leads once every link on the way is followed, in one canonical
    // spelling; empty when that cannot be learned.
    virtual std::string Location(const std::string &path) = 0;
    // DeleteFileA and RemoveDirectoryA (named apart from <windows.h>'s macros for them).
    virtual bool RemoveFile(const std::string &path) = 0;
    virtual bool RemoveEmptyDirectory(const std::string &path) = 0;
};

// The path after its leading spaces (only byte 0x20, only at the front).
const char *SkipLeadingSpaces(const char *path);

// A bare drive ("C:") or a drive root ("C:\"): the second byte is a colon and at most one
// backslash follows it.
bool IsDriveRoot(const char *path);

enum class EntryKind { File, Directory, Link };

struct TreeEntry {
    std::string path;
    EntryKind kind;
};

// The entries of one directory that the walk handles: names beginning with a full stop are
// left out, and every other entry gets the directory's path, a backslash and its name.
std::vector<TreeEntry> ListLevel(TreePlatform &platform, const std::string &directory);

// The whole operation; see file_ops.h for the contract.
bool DeleteTreeOn(TreePlatform &platform, const char *path);

} // namespace korvanta
