#pragma once
// The prefix's real drive C: for the tests that run under Wine. Links and clean-up go
// through Unix programs, which Wine starts like Windows ones: links cannot be made from the
// Windows side, and rm never follows a link out of a test folder.

#include <initializer_list>
#include <string>

namespace korvanta::testing {

// A fresh folder C:\korvanta-host-tests\<case name>, removed with everything in it after.
class TestFolder {
public:
    TestFolder();
    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;
    ~TestFolder();
    std::string operator/(const std::string &relative) const { return path_ + "\\" + relative; }

private:
    std::string path_;
};

// Runs a shell script to its end; false when it could not be started or did not finish.
bool RunUnix(const std::string &script);
// A Unix symbolic link at link_path (its folder exists) to target_path.
bool MakeLink(const std::string &target_path, const std::string &link_path);

// Entries under root: "" makes root itself, a trailing backslash a folder, anything else a
// file holding its own relative path.
bool MakeTree(const std::string &root, std::initializer_list<const char *> entries);
bool MakeFile(const std::string &path, const std::string &content);
// The whole content, or "<missing>".
std::string ReadWhole(const std::string &path);
bool Exists(const std::string &path);

} // namespace korvanta::testing
