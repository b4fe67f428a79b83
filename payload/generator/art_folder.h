#pragma once
// A modder's folder of one icon set, read the way Windows folders are: names without regard
// to case, a PNG in place of a TGA, no Thumbs.db or Explorer's own, and whatever else lies
// there left out rather than refused. Every problem is named, not only the first.

#include "entry_list.h"
#include "set_content.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace korvanta::payload {

struct FolderListing {
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

// What reading one file of the folder gave: its bytes, or why there are none.
struct FileRead {
    std::vector<uint8_t> bytes;
    std::string problem; // "" when read: "a named pipe (FIFO), not a file"
};

// Reads a file of the folder by its name there; one of more than max_bytes is refused unread.
using FolderReader = std::function<FileRead(const std::string &name, uint64_t max_bytes)>;

struct ArtFolder {
    FileMap files; // by the entry's name; "Thumbs.db" only when the folder has one
    std::map<std::string, std::string> sources;     // entry name -> the folder's file name
    std::map<std::string, std::string> conversions; // entry name -> the form converted from
    std::vector<std::string> left_out;              // folders with a trailing '/'
    std::vector<std::string> problems;              // "<file>: what is expected"
};

// Matches the folder's names to the set's entry list and prepares every matched file.
// `where` is the folder as the problems name it. A folder without any of the set's icons
// is refused in one line, which names its subfolders: most often it is the one above them.
ArtFolder ReadArtFolder(IconSet set, const std::string &where, const FolderListing &listing,
                        const FolderReader &read);

// Lists the folder on disk and reads it with ReadArtFolder; a path that is no folder is the
// one problem. Only plain files are read (a link only to one): a link to a folder, a device,
// a pipe or nowhere is a problem of its own, and no read can block or exhaust the memory.
ArtFolder LoadArtFolder(IconSet set, const std::filesystem::path &folder);

// What the report says about the folder: where each set came from, what was converted,
// renamed or left out, and which Thumbs.db it carries.
std::vector<std::string> DescribeArtFolder(IconSet set, const std::string &where,
                                           const ArtFolder &art);

} // namespace korvanta::payload
