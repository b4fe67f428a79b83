#pragma once
// Unpacks a ZIP archive file into a directory, entry by entry in central-directory order,
// reporting progress after each entry through a plain callback.

#include <cstdint>
#include <memory>

namespace korvanta {

struct ZipHandle;
class ArchiveExtractor;

// Called after each entry with (index of the entry just done, entry count), and once more
// when the extraction ends with current = total. It may call RequestCancel.
using ProgressCallback = void (*)(uint32_t current, uint32_t total, ArchiveExtractor &extractor);

class ArchiveExtractor {
public:
    ArchiveExtractor() = default;
    explicit ArchiveExtractor(void *unit_object) : unit(unit_object) {}
    ArchiveExtractor(const ArchiveExtractor &) = delete;
    ArchiveExtractor &operator=(const ArchiveExtractor &) = delete;

    // ResetProgress, then install the callback.
    void SetProgressCallback(ProgressCallback callback);

    // Extracts every entry of the archive into the destination, creating it when missing.
    // 1: the walk reached its end or was stopped by RequestCancel. 0: the extraction failed
    // after its arguments were accepted. -1: an argument is absent (no report at all) or the
    // archive path names nothing that exists.
    int32_t ExtractAll(const char *archive_path, const char *destination);

    // The number of entries, each of whose records could be produced; -1 when that falls
    // short of the archive's own count or the handle gives none.
    int32_t CountEntries(ZipHandle *handle);

    // Calls the callback, if one is installed, with (current, total, *this).
    void NotifyProgress();
    // The walk stops after the entry whose report asked for it.
    void RequestCancel() { cancel_ = true; }
    // Clears cancel, total, current and the callback.
    void ResetProgress();

    bool cancel_requested() const { return cancel_; }
    uint32_t total() const { return total_; }

    // The unit's live window object, for the callback to raise its event on; the extractor
    // itself never looks at it.
    void *unit = nullptr;

private:
    // The common way out of a failed extraction: the final report, then the reset.
    int32_t FailureEnd(int32_t result, std::unique_ptr<ZipHandle> handle);

    bool cancel_ = false;
    ProgressCallback callback_ = nullptr;
    uint32_t total_ = 0;
    uint32_t current_ = 0;
};

// Creates every missing level of a directory path, level by level; only "\" separates levels
// (the path is UTF-8, where no byte of a longer character is a "\"). An empty path is "\".
bool MakeDirectoryChain(const char *path);

} // namespace korvanta
