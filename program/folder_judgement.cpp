#include "program/folder_judgement.h"

#include "base/platform_values.h"

#include <algorithm>

namespace korvanta {
namespace {

enum class FileVerdict { Copy, NotACopy, Unreadable };

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The system keeps its thumbnail cache under this name in any case.
bool IsThumbnailCache(std::string_view name) {
    constexpr std::string_view kCache = "thumbs.db";
    return name.size() == kCache.size() &&
           std::equal(name.begin(), name.end(), kCache.begin(),
                      [](char a, char b) { return LowerAscii(a) == b; });
}

FileVerdict JudgeFile(const ListedEntry &entry, OwnSet *const (&sets)[2],
                      const ReadListedFile &read) {
    // No set file comes near 4 GiB: a larger file is simply longer than any of them.
    const uint32_t size = static_cast<uint32_t>(std::min<uint64_t>(entry.size, 0xFFFFFFFF));
    // The same name may stand in both sets with other bytes: either may have made it.
    std::optional<SetFile> candidates[2];
    bool fits = false;
    for (int i = 0; i < 2; ++i) {
        candidates[i] = sets[i]->Find(entry.name);
        if (!candidates[i])
            continue;
        if (candidates[i]->size == size && candidates[i]->made == entry.write_time)
            return FileVerdict::Copy;
        fits = fits || size <= candidates[i]->size;
    }
    if (!fits)
        return FileVerdict::NotACopy;
    const std::optional<std::vector<unsigned char>> bytes = read(entry.name, size);
    if (!bytes)
        return FileVerdict::Unreadable;
    for (int i = 0; i < 2; ++i) {
        if (candidates[i] && size <= candidates[i]->size &&
            sets[i]->BeginsWith(entry.name, bytes->data(), size))
            return FileVerdict::Copy;
    }
    return FileVerdict::NotACopy;
}

} // namespace

Holding JudgeFolder(const std::vector<ListedEntry> &listing, OwnSet &foreign, OwnSet &stock,
                    const ReadListedFile &read) {
    OwnSet *const sets[2] = {&foreign, &stock};
    bool unreadable = false;
    for (const ListedEntry &entry : listing) {
        if (entry.name == "." || entry.name == "..")
            continue;
        if (entry.attributes & (win::kFileAttributeDirectory | win::kFileAttributeReparsePoint))
            return Holding::Other;
        if (IsThumbnailCache(entry.name))
            continue;
        switch (JudgeFile(entry, sets, read)) {
        case FileVerdict::Copy:
            break;
        case FileVerdict::NotACopy:
            return Holding::Other;
        case FileVerdict::Unreadable:
            unreadable = true;
            break;
        }
    }
    return unreadable ? Holding::Unknown : Holding::OwnCopies;
}

Place PlaceFrom(uint32_t attributes, uint32_t error) {
    if (attributes == win::kInvalidFileAttributes)
        return error == win::kErrorFileNotFound || error == win::kErrorPathNotFound
                   ? Place::Nothing
                   : Place::Unknown;
    return (attributes & win::kFileAttributeDirectory) ? Place::Folder : Place::File;
}

} // namespace korvanta
