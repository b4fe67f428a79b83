#pragma once
// What only the Unix side of Wine can do for a test: links cannot be made from the Windows
// side, and removing one from there may reach its target.

#include <initializer_list>
#include <string>

namespace korvanta::test {

// The Unix path of a Windows path; empty outside Wine.
std::string UnixPath(const std::string &windows_path);
// Runs a shell script to its end; false when it could not be started or did not finish.
bool RunUnix(const std::string &script);
// A Unix symbolic link at link_path (its folder exists) to target_path.
bool MakeLink(const std::string &target_path, const std::string &link_path);

// Entries under root: "" makes root itself, a trailing backslash a folder, anything else a
// file holding its own relative path.
bool MakeTree(const std::string &root, std::initializer_list<const char *> entries);

} // namespace korvanta::test
