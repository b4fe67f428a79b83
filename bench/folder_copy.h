#pragma once
// The file baselines: plain CopyFileA and DeleteFileA of every file of a folder, the least a
// program can do to put the same icon files in place and take the old ones away.

#include <string>
#include <vector>

namespace korvanta::bench {

// Copies each named file of one folder into another, overwriting; false at the first failure.
bool CopyFiles(const std::string &from, const std::string &to,
               const std::vector<std::string> &names);
// Deletes each named file of the folder; false at the first failure.
bool DeleteFiles(const std::string &folder, const std::vector<std::string> &names);

} // namespace korvanta::bench
