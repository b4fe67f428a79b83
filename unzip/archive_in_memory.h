#pragma once
// An archive held in memory (the program's own icon sets): what its files are called, how big
// they are and when they were made, from its central directory, and their bytes on demand.

#include "unzip.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvanta {

class ArchiveInMemory {
public:
    // One file entry; its name is the part after the entry's last "/".
    struct File {
        std::string name;
        uint32_t size = 0;
        uint32_t dos_date_time = 0; // date in the upper half, time in the lower
        unz_file_pos position = {};
    };

    ArchiveInMemory(const unsigned char *bytes, uint32_t size);
    ArchiveInMemory(const ArchiveInMemory &) = delete;
    ArchiveInMemory &operator=(const ArchiveInMemory &) = delete;
    ~ArchiveInMemory();

    // The file of that name (compared without regard to ASCII case), or null.
    const File *Find(std::string_view name) const;

    // Whether `content` is the file's bytes or their beginning (a copy cut short).
    bool BeginsWith(const File &file, const unsigned char *content, uint32_t length);

private:
    // minizip reads the block through these.
    static uLong Read(voidpf opaque, voidpf, void *buffer, uLong size);
    static long Tell(voidpf opaque, voidpf);
    static long Seek(voidpf opaque, voidpf, uLong offset, int origin);

    const unsigned char *bytes_;
    uLong size_;
    uLong position_ = 0;
    unzFile zip_ = nullptr;
    std::vector<File> files_;
};

} // namespace korvanta
