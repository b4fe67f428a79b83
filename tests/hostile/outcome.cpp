#include "tests/hostile/outcome.h"

#include "tests/support/files.h"
#include "tests/support/windows.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

namespace korvanta::test {
namespace {

// The file system compares names without case. The names are UTF-8, where no byte of a longer
// character looks like an ASCII capital or a separator.
std::string Key(std::string_view name) {
    std::string key;
    for (const char byte : name) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '/')
            key += '\\';
        else
            key += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return key;
}

// An entry's name as the extractor writes it: UTF-8 when the entry says so, GBK otherwise.
std::string NameOnDisk(const ZipEntry &entry) {
    constexpr uint32_t kUtf8Name = 0x0800;
    return entry.flags & kUtf8Name ? entry.name : Utf8(Widen(entry.name, 936));
}

std::string WithoutTrailingSeparators(std::string path) {
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace

Arena::Arena() {
    if (const char *drive = std::getenv("KORVANTA_SCRATCH_DRIVE"); drive && *drive) {
        root_ = drive;
    } else {
        root_ = folder_.emplace().path();
    }
    archive_ = root_ + "\\a\\hostile.zip";
    destination_ = root_ + "\\a\\b\\dest";
    work_ = root_ + "\\a\\b\\work";
    for (const char *level : {"\\a", "\\a\\b", "\\a\\b\\work"})
        CreateDirectoryA((root_ + level).c_str(), nullptr);
}

Arena::~Arena() {
    Reset();
    RemoveTree(root_ + "\\a");
}

void Arena::Reset() {
    RemoveTree(destination_);
    for (const std::string &stray : Outside())
        RemoveTree(root_ + "\\" + WithoutTrailingSeparators(stray));
    CreateDirectoryA(work_.c_str(), nullptr);
}

Extraction Arena::Extract(const std::string &archive_bytes) {
    WriteAll(archive_, archive_bytes);
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(work_.c_str());
    Extraction out = RunExtraction(archive_, destination_);
    SetCurrentDirectoryA(previous);
    return out;
}

std::vector<std::string> Arena::Outside() const {
    static const std::set<std::string> own = {"a\\", "a\\b\\", "a\\b\\work\\", "a\\hostile.zip",
                                              "a\\b\\dest\\"};
    std::vector<std::string> stray;
    for (const std::string &path : ListTree(root_, "a\\b\\dest\\")) {
        if (!own.count(path))
            stray.push_back(path);
    }
    return stray;
}

std::vector<std::string> Arena::Written() const {
    return ListTree(destination_);
}

std::vector<std::string> CheckOutcome(const Arena &arena, const Extraction &extraction,
                                      const ZipEntries &reference) {
    std::vector<std::string> problems;
    const int32_t result = extraction.result;
    const std::vector<int32_t> &reports = extraction.reports;
    if (result != 0 && result != 1)
        problems.push_back("result " + std::to_string(result) + " for an archive that exists");
    if (reports.empty())
        problems.push_back("no progress report at all");
    for (size_t i = 0; i < reports.size(); ++i) {
        if (reports[i] < 0 || reports[i] > 100 || (i > 0 && reports[i] < reports[i - 1]))
            problems.push_back("progress report " + std::to_string(i) + " is " +
                               std::to_string(reports[i]));
    }
    if (!reports.empty() && reports.back() != 0 && reports.back() != 100)
        problems.push_back("last progress report " + std::to_string(reports.back()));
    if (result == 1) {
        if (reports.empty() || reports.back() != 100)
            problems.push_back("a success whose last report is not 100");
        if (!reference.opened)
            problems.push_back("a success on an archive an independent reader cannot open");
        else if (reference.complete && reports.size() != reference.entries.size() + 1)
            problems.push_back(std::to_string(reports.size()) + " reports for " +
                               std::to_string(reference.entries.size()) + " entries");
    }

    for (const std::string &stray : arena.Outside())
        problems.push_back("written outside the destination: " + stray);

    // The last entry of each name decides what a file of that name must hold.
    std::map<std::string, const ZipEntry *> last;
    std::set<std::string> folders;
    for (const ZipEntry &entry : reference.entries) {
        const std::string key = Key(NameOnDisk(entry));
        last[WithoutTrailingSeparators(key)] = &entry;
        for (size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1))
            folders.insert(key.substr(0, at));
        if (entry.directory)
            folders.insert(WithoutTrailingSeparators(key));
    }
    for (const std::string &path : arena.Written()) {
        if (path.back() == '\\') {
            if (!folders.count(Key(WithoutTrailingSeparators(path))))
                problems.push_back("folder not named by any entry: " + path);
            continue;
        }
        auto found = last.find(Key(path));
        if (found == last.end()) {
            problems.push_back("file not named after any entry: " + path);
            continue;
        }
        if (result != 1)
            continue;
        const ZipEntry &entry = *found->second;
        if (entry.directory || !entry.intact ||
            ReadAll(arena.destination() + "\\" + path) != entry.data)
            problems.push_back("after a success, " + path + " is not the intact content of " +
                               (entry.directory ? "its (directory) entry" : "its entry"));
    }
    if (result == 1 && reference.complete) {
        for (const ZipEntry &entry : reference.entries) {
            std::string target = NameOnDisk(entry);
            std::replace(target.begin(), target.end(), '/', '\\');
            if (!Exists(arena.destination() + "\\" + WithoutTrailingSeparators(target)))
                problems.push_back("after a success, entry " + target + " is missing");
        }
    }
    return problems;
}

} // namespace korvanta::test
