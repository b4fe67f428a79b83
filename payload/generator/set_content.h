#pragma once
// The files of one icon set, drawn or taken from a folder of real artwork, and the archive
// they are packed into.

#include "entry_list.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace korvanta::payload {

// File bytes by name inside the top folder ("BigClass_1.tga").
using FileMap = std::map<std::string, std::vector<uint8_t>>;

// Every file of the set's entry list, drawn.
FileMap DrawnFiles(IconSet set);

// The drawn sets' "Thumbs.db", also the stand-in for a folder that has none.
std::vector<uint8_t> DrawnThumbsDb();

// One set's files: drawn (no folder) or from a modder's folder.
struct SetSource {
    FileMap files;
    std::string folder;                         // "" when drawn
    std::map<std::string, std::string> sources; // entry name -> the folder's file name
    std::string thumbs_note; // where "Thumbs.db" came from when not from this folder

    std::string SourceName(const std::string &leaf) const {
        const auto it = sources.find(leaf);
        return it == sources.end() ? leaf : it->second;
    }
};

// Fills in "Thumbs.db" for folders without one (and gives both sets the stock folder's when
// two differ), then makes the 22 shared files one set of files: the one folder given
// supplies both sets, and when both are given they must agree.
// Returns a problem line for each shared file that differs.
std::vector<std::string> JoinSharedFiles(SetSource &foreign, SetSource &stock,
                                         const std::vector<uint8_t> &stand_in_thumbs);

// The archive of the set; every entry's file must be present.
std::vector<uint8_t> PackArchive(IconSet set, const FileMap &files);

} // namespace korvanta::payload
