#include "unzip/archive_extractor.h"

#include "base/double_byte.h"
#include "base/platform_values.h"
#include "base/wide_win.h"
#include "host/file_calls.h"
#include "unzip/entry_fields.h"
#include "unzip/paths.h"
#include "unzip/signature.h"
#include "unzip/zip_reader.h"

#include <io.h>

#include <cstdio>
#include <optional>
#include <string>

namespace korvanta {
namespace {

// A file or a directory passes.
bool PathExists(const char *path) {
    const std::optional<std::wstring> wide = ToWide(path);
    return wide && _waccess(wide->c_str(), 0) == 0;
}

bool ArchiveHasSignature(const char *archive_path) {
    const std::optional<std::wstring> wide = ToWide(archive_path);
    if (!wide)
        return false;
    FILE *stream = _wfopen(wide->c_str(), L"rb");
    if (stream == nullptr)
        return false;
    uint8_t block[kSignatureBlockBytes];
    const size_t got = std::fread(block, 1, sizeof block, stream);
    std::fclose(stream);
    return PassesSignatureTest(block, got);
}

// Clears the attributes that make an existing file refuse CREATE_ALWAYS; false when the
// target is no such file, or stays one.
bool ClearedRefusingAttributes(const std::string &target) {
    constexpr DWORD kRefusing =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const DWORD attributes = AttributesAt(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(attributes & kRefusing))
        return false;
    return SetAttributesAt(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Whether the platform's plain calls take the path: fewer than MAX_PATH characters, counted
// as UTF-16 units, with the terminator.
bool FitsPlainCalls(const std::string &path) {
    const std::optional<std::wstring> wide = ToWide(path);
    return wide && wide->size() < kMaxPathBytes;
}

} // namespace

bool MakeDirectoryChain(const char *path) {
    for (const std::string &prefix : DirectoryChainPrefixes(path ? path : "", NoLeadByte)) {
        // Levels that exist, such as "C:\", are passed over.
        if (!PathExists(prefix.c_str()) && !CreateFolderAt(prefix.c_str()))
            return false;
    }
    return true;
}

void ArchiveExtractor::SetProgressCallback(ProgressCallback callback) {
    ResetProgress();
    callback_ = callback;
}

void ArchiveExtractor::NotifyProgress() {
    if (callback_ != nullptr)
        callback_(current_, total_, *this);
}

void ArchiveExtractor::ResetProgress() {
    cancel_ = false;
    total_ = 0;
    current_ = 0;
    callback_ = nullptr;
}

int32_t ArchiveExtractor::CountEntries(ZipHandle *handle) {
    ZipEntry entry;
    if (GetEntry(handle, -1, entry) != kZipOk)
        return -1;
    const int32_t declared = entry.index;
    int32_t count = 0;
    while (GetEntry(handle, count, entry) == kZipOk)
        ++count;
    // Stopping short of the archive's own count would extract a prefix and call it done;
    // an entry that cannot be produced fails the whole archive before anything is written.
    return count == declared ? count : -1;
}

int32_t ArchiveExtractor::FailureEnd(int32_t result, std::unique_ptr<ZipHandle> handle) {
    current_ = total_;
    NotifyProgress();
    ResetProgress();
    if (handle)
        CloseArchive(std::move(handle));
    return result;
}

int32_t ArchiveExtractor::ExtractAll(const char *archive_path, const char *destination) {
    if (archive_path == nullptr || destination == nullptr)
        return -1;
    // The callback runs code of the caller's; the destination must not change under the walk.
    const std::string target_root(destination);
    if (!PathExists(archive_path))
        return FailureEnd(-1, nullptr);
    if (!PathExists(target_root.c_str()) && !MakeDirectoryChain(target_root.c_str()))
        return FailureEnd(0, nullptr);
    if (!ArchiveHasSignature(archive_path))
        return FailureEnd(0, nullptr);
    ZipHandlePtr handle = OpenArchive(archive_path);
    if (!handle)
        return FailureEnd(0, nullptr);
    const int32_t count = CountEntries(handle.get());
    if (count < 0) {
        total_ = 0;
        return FailureEnd(0, std::move(handle));
    }
    total_ = static_cast<uint32_t>(count);

    for (int32_t i = 0;; ++i) {
        ZipEntry entry;
        if (GetEntry(handle.get(), i, entry) != kZipOk) {
            // Every record was produced once by the count: one that cannot be produced now
            // (a read error, the archive changed underneath) leaves the set incomplete.
            if (static_cast<uint32_t>(i) < total_)
                return FailureEnd(0, std::move(handle));
            current_ = total_;
            NotifyProgress();
            ResetProgress();
            CloseArchive(std::move(handle));
            return 1;
        }
        // The names are UTF-8 (the reader converts them), and so is the destination: a "\"
        // byte is always a character of its own.
        const std::string target = FormTargetPath(target_root, entry.name, NoLeadByte);
        // A longer path would have to be cut, and a cut path names another file.
        if (!FitsPlainCalls(target))
            return FailureEnd(0, std::move(handle));
        if (entry.attributes & win::kFileAttributeDirectory) {
            if (!PathExists(target.c_str()) && !MakeDirectoryChain(target.c_str()))
                return FailureEnd(0, std::move(handle));
        } else {
            uint32_t code = ExtractEntry(handle.get(), i, target.c_str());
            // A read-only, hidden or system target refuses to be overwritten: only then are its
            // attributes cleared, and the entry is written once more.
            if (code == kZipCannotOpen && ClearedRefusingAttributes(target))
                code = ExtractEntry(handle.get(), i, target.c_str());
            // The reader leaves every file it wrote plain, a partial one too, so that nothing
            // it leaves behind is read-only.
            if (code != kZipOk)
                return FailureEnd(0, std::move(handle));
        }
        current_ = static_cast<uint32_t>(i);
        NotifyProgress();
        if (cancel_) {
            CloseArchive(std::move(handle));
            return 1;
        }
    }
}

} // namespace korvanta
