#pragma once
// Reads an archive back into its files, through minizip: what the contact sheet is drawn
// from, so it shows what an extractor gets out of the archive.

#include "set_content.h"

#include <filesystem>
#include <string>

namespace korvanta::payload {

// Files by name inside the top folder; "" or what went wrong.
std::string ReadArchive(const std::filesystem::path &zip, FileMap &files);

} // namespace korvanta::payload
