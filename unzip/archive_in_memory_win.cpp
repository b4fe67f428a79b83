#include "unzip/archive_in_memory.h"

#include "unzip/zip_file_access.h"

#include <algorithm>
#include <cstring>

namespace korvanta {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

ArchiveInMemory &Self(voidpf opaque) {
    return *static_cast<ArchiveInMemory *>(opaque);
}

} // namespace

uLong ArchiveInMemory::Read(voidpf opaque, voidpf, void *buffer, uLong size) {
    ArchiveInMemory &self = Self(opaque);
    const uLong left = self.position_ < self.size_ ? self.size_ - self.position_ : 0;
    const uLong n = std::min(size, left);
    std::memcpy(buffer, self.bytes_ + self.position_, n);
    self.position_ += n;
    return n;
}

long ArchiveInMemory::Tell(voidpf opaque, voidpf) {
    return static_cast<long>(Self(opaque).position_);
}

long ArchiveInMemory::Seek(voidpf opaque, voidpf, uLong offset, int origin) {
    ArchiveInMemory &self = Self(opaque);
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        self.position_ = offset;
        return 0;
    case ZLIB_FILEFUNC_SEEK_CUR:
        self.position_ += offset;
        return 0;
    case ZLIB_FILEFUNC_SEEK_END:
        self.position_ = self.size_ + offset;
        return 0;
    default:
        return -1;
    }
}

ArchiveInMemory::ArchiveInMemory(const unsigned char *bytes, uint32_t size)
    : bytes_(bytes), size_(size) {
    zlib_filefunc_def access = ReadOnlyFileFunctions(
        this, &ArchiveInMemory::Read, &ArchiveInMemory::Tell, &ArchiveInMemory::Seek);
    zip_ = unzOpen2("", &access);
    if (zip_ == nullptr)
        return;
    for (int at = unzGoToFirstFile(zip_); at == UNZ_OK; at = unzGoToNextFile(zip_)) {
        unz_file_info info = {};
        char name[260];
        if (unzGetCurrentFileInfo(zip_, &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
                UNZ_OK ||
            info.size_filename >= sizeof name)
            continue;
        name[info.size_filename] = '\0';
        const char *slash = std::strrchr(name, '/');
        File file;
        file.name = slash ? slash + 1 : name;
        if (file.name.empty())
            continue; // a folder entry
        file.size = info.uncompressed_size;
        file.dos_date_time = info.dosDate;
        unzGetFilePos(zip_, &file.position);
        files_.push_back(std::move(file));
    }
}

ArchiveInMemory::~ArchiveInMemory() {
    if (zip_ != nullptr)
        unzClose(zip_);
}

const ArchiveInMemory::File *ArchiveInMemory::Find(std::string_view name) const {
    for (const File &file : files_) {
        if (SameName(file.name, name))
            return &file;
    }
    return nullptr;
}

bool ArchiveInMemory::BeginsWith(const File &file, const unsigned char *content, uint32_t length) {
    if (length > file.size)
        return false;
    unz_file_pos position = file.position;
    if (unzGoToFilePos(zip_, &position) != UNZ_OK || unzOpenCurrentFile(zip_) != UNZ_OK)
        return false;
    bool same = true;
    unsigned char chunk[4096];
    uint32_t done = 0;
    while (same && done < length) {
        const unsigned want =
            static_cast<unsigned>(std::min<uint32_t>(sizeof chunk, length - done));
        const int got = unzReadCurrentFile(zip_, chunk, want);
        if (got <= 0)
            same = false;
        else {
            same = std::memcmp(chunk, content + done, static_cast<size_t>(got)) == 0;
            done += static_cast<uint32_t>(got);
        }
    }
    // Stopping before the end leaves the CRC unchecked, which is what a prefix needs.
    unzCloseCurrentFile(zip_);
    return same;
}

} // namespace korvanta
