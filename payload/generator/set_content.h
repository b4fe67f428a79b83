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

// Reads every file of the set's entry list from the folder and checks each against its
// entry's rules. Returns "" or the first violation as "<file>: <rule it breaks>".
std::string LoadArtFolder(IconSet set, const std::filesystem::path &folder, FileMap &files);

// Checks one file's bytes against the rules of its entry; "" if it passes.
std::string CheckEntryFile(const Entry &entry, const std::vector<uint8_t> &bytes);

// The 22 shared files must be byte-identical in both sets. Copies them from the source set
// into the other one.
void CopySharedFiles(IconSet from, const FileMap &source, FileMap &target);

// Names of shared files that differ between the two sets.
std::vector<std::string> SharedMismatches(const FileMap &foreign, const FileMap &stock);

// The archive of the set; every entry's file must be present.
std::vector<uint8_t> PackArchive(IconSet set, const FileMap &files);

} // namespace korvanta::payload
