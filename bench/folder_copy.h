#pragma once
// The file baselines: plain CopyFileA and DeleteFileA of every file of a folder, the least a
// program can do to put the same icon files in place and take the old ones away.

#include <cstddef>
#include <string>
#include <vector>

namespace korvanta::bench {

// Plain: CopyFileA or DeleteFileA alone. Program: with the calls korvanta.exe makes around
// each file besides (attributes cleared before a file is written and after; a file's real
// location learned before it is deleted), so that what remains between it and this baseline
// is its own work: reading and inflating the archive, listing and judging folders.
enum class Calls { Plain, Program };

// Copies each named file of one folder into another, overwriting; false at the first failure.
bool CopyFiles(const std::string &from, const std::string &to,
               const std::vector<std::string> &names, Calls calls);
// Deletes each named file of the folder; false at the first failure.
bool DeleteFiles(const std::string &folder, const std::vector<std::string> &names, Calls calls);

} // namespace korvanta::bench
