#include "icons/folder_contents.h"

#include "host/handles.h"
#include "base/byte_block.h"
#include "unzip/archive_in_memory.h"

#include <windows.h>

#include <string>
#include <vector>

namespace korvanta {
namespace {

enum class FileVerdict { Copy, NotACopy, Unreadable };

bool IsThumbnailCache(const char *name) {
    return lstrcmpiA(name, "Thumbs.db") == 0;
}

bool SameTime(const FILETIME &a, const FILETIME &b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

bool ReadWhole(const std::string &path, uint32_t size, std::vector<unsigned char> &bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    bytes.resize(size);
    DWORD got = 0;
    if (size > 0 && (!ReadFile(file.get(), bytes.data(), size, &got, nullptr) || got != size))
        return false;
    return file.Close();
}

class OwnSets {
public:
    OwnSets()
        : foreign_(ForeignSet.bytes(), static_cast<uint32_t>(ForeignSet.byte_count)),
          stock_(StockSet.bytes(), static_cast<uint32_t>(StockSet.byte_count)) {}

    FileVerdict Judge(const std::string &folder, const WIN32_FIND_DATAA &found) {
        const uint32_t size = found.nFileSizeHigh != 0 ? 0xFFFFFFFF : found.nFileSizeLow;
        // The same name may stand in both sets with other bytes: either may have made it.
        ArchiveInMemory *archives[] = {&foreign_, &stock_};
        const ArchiveInMemory::File *candidates[2] = {};
        bool any = false;
        for (int i = 0; i < 2; ++i) {
            const ArchiveInMemory::File *file = archives[i]->Find(found.cFileName);
            candidates[i] = file;
            if (file == nullptr)
                continue;
            any = true;
            FILETIME made = {};
            if (file->size == size &&
                DosDateTimeToFileTime(HIWORD(file->dos_date_time), LOWORD(file->dos_date_time),
                                      &made) &&
                SameTime(made, found.ftLastWriteTime))
                return FileVerdict::Copy;
        }
        if (!any)
            return FileVerdict::NotACopy;
        bool fits = false;
        for (const ArchiveInMemory::File *file : candidates)
            fits = fits || (file != nullptr && size <= file->size);
        if (!fits)
            return FileVerdict::NotACopy;
        std::vector<unsigned char> bytes;
        if (!ReadWhole(folder + "\\" + found.cFileName, size, bytes))
            return FileVerdict::Unreadable;
        for (int i = 0; i < 2; ++i) {
            if (candidates[i] != nullptr &&
                archives[i]->BeginsWith(*candidates[i], bytes.data(), size))
                return FileVerdict::Copy;
        }
        return FileVerdict::NotACopy;
    }

private:
    ArchiveInMemory foreign_;
    ArchiveInMemory stock_;
};

} // namespace

Place PlaceAt(const char *path) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Place::Nothing
                                                                              : Place::Unknown;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Place::Folder : Place::File;
}

Holding FolderHolding(const char *path) {
    const std::string folder(path);
    // The whole listing comes first: a listing cut short by an error would hide what follows.
    std::vector<WIN32_FIND_DATAA> entries;
    {
        WIN32_FIND_DATAA found;
        FindHandle find(FindFirstFileA((folder + "\\*.*").c_str(), &found));
        if (!find.valid())
            return Holding::Unknown;
        do {
            entries.push_back(found);
        } while (FindNextFileA(find.get(), &found));
        if (GetLastError() != ERROR_NO_MORE_FILES)
            return Holding::Unknown;
    }
    OwnSets sets;
    bool unreadable = false;
    for (const WIN32_FIND_DATAA &found : entries) {
        if (lstrcmpA(found.cFileName, ".") == 0 || lstrcmpA(found.cFileName, "..") == 0)
            continue;
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            return Holding::Other;
        if (IsThumbnailCache(found.cFileName))
            continue;
        switch (sets.Judge(folder, found)) {
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

} // namespace korvanta
