#pragma once
// Folders and files for the tests, on whichever system the test runs: natively for the
// generator's tests, on the prefix's drives for the tests under Wine.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvanta::test {

// A fresh folder under the temp directory, the current directory while it lives (so no
// relative path of a test reaches the build tree), removed with its contents afterwards.
class TestFolder {
public:
    TestFolder();
    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;
    ~TestFolder();

    const std::string &path() const { return path_; }
    // The folder, the system's separator and a relative path.
    std::string operator/(std::string_view relative) const;

private:
    std::string path_;
    std::string previous_;
};

// The whole content, read to the end (files of /proc report a size of 0); empty when the
// file cannot be opened.
std::string ReadAll(const std::string &path);
bool WriteAll(const std::string &path, std::string_view bytes);

// Removes a tree; links inside it are removed themselves, never followed.
void RemoveTree(const std::string &path);

#ifdef _WIN32
bool Exists(const std::string &path);
// The text in UTF-16, from the code page given.
std::wstring Widen(const std::string &text, unsigned code_page);

// One path below a root, as a listing finds it.
struct TreeEntry {
    std::string path;        // relative to the root, a folder's with a trailing separator
    uint64_t size = 0;       // a file's
    uint64_t write_time = 0; // a file's, in FILETIME ticks
    bool is_folder() const { return !path.empty() && path.back() == '\\'; }
};
// Every path below root, sorted. Links are listed but not entered, and so is a folder for
// which `enter`, given its relative path, says false.
std::vector<TreeEntry> ListTreeEntries(const std::string &root,
                                       const std::function<bool(const std::string &)> &enter = {});
// What is directly in a folder.
std::vector<TreeEntry> ListFolder(const std::string &folder);
// Only the paths; the folder `skip` (relative, with its separator) is listed but not entered.
std::vector<std::string> ListTree(const std::string &root, const std::string &skip = {});
#endif

} // namespace korvanta::test
