#pragma once
// The copy baselines: plain CopyFileA of every file of a folder, the least a program can do
// to put the same icon files in place.

#include <cstddef>
#include <string>
#include <vector>

namespace korvanta::bench {

// Names of the plain files directly in the folder (no subfolders), in listing order.
std::vector<std::string> FileNamesIn(const std::string &folder);
// Copies each named file of one folder into another, overwriting; false at the first failure.
bool CopyFiles(const std::string &from, const std::string &to,
               const std::vector<std::string> &names);

} // namespace korvanta::bench
