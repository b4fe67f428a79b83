#pragma once
// Where a hostile extraction runs and what it is allowed to leave behind.
//
// The arena is a drive of its own when the test runner mapped one (KORVANTA_SCRATCH_DRIVE),
// so that anything written anywhere on it, the drive root included, is seen; otherwise a
// folder under the temp directory. Inside it:
//   a\hostile.zip   the archive
//   a\b\dest        the destination (created by the extraction)
//   a\b\work        the current directory while the extraction runs
// so a name that climbs one or two levels, or lands in the current directory or at the
// root, leaves a trace outside the destination.

#include "tests/hostile/harness.h"
#include "tests/support/files.h"
#include "tests/support/zip_entries.h"

#include <optional>
#include <string>
#include <vector>

namespace korvanta::test {

class Arena { // not copyable, as its folder is not
public:
    Arena();
    ~Arena();

    bool on_own_drive() const { return !folder_; }
    const std::string &archive() const { return archive_; }
    const std::string &destination() const { return destination_; }

    // Empties the destination and removes whatever an earlier run left outside it.
    void Reset();
    // Writes the archive and runs the extraction with the work folder as current directory.
    Extraction Extract(const std::string &archive_bytes);
    // Every path of the arena that is neither the arena's own nor inside the destination.
    std::vector<std::string> Outside() const;
    // Paths inside the destination relative to it, folders ending in "\", sorted.
    std::vector<std::string> Written() const;

private:
    std::optional<TestFolder> folder_; // without a drive of its own
    std::string root_, archive_, destination_, work_;
};

// The checks every hostile extraction must pass, as messages (empty: passed):
// - the result is 0 or 1 (the archive exists, so never -1) and the progress reports are
//   percentages that never go back, ending in 100 after a success;
// - nothing was written outside the destination;
// - every file in the destination is named after an entry, and after a success holds
//   exactly that entry's content, intact; after a success every entry is there.
// The reference is the archive as minizip reads it; without data (ReadZipEntries) it is
// enough to judge a failed extraction.
std::vector<std::string> CheckOutcome(const Arena &arena, const Extraction &extraction,
                                      const ZipEntries &reference);

} // namespace korvanta::test
