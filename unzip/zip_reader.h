#pragma once
// The reader beneath the extractor: opens an archive file through minizip, produces one
// record per entry and writes one entry's data to a file with its attributes and times.

#include "unzip/zip_result.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace korvanta {

// One entry of the central directory.
struct ZipEntry {
    int32_t index = 0; // position in the central directory, from 0
    // In UTF-8, "/" separators as stored. A name the archive flags as UTF-8 is taken as it
    // stands; any other is GBK, as the archives of a Chinese system write names, on whatever
    // code page the program runs.
    std::string name;
    uint32_t attributes = 0; // Win32 attribute bits
    // File times; a zero time is one the entry does not give (a DOS date that does not
    // convert), and it is left alone on the written file.
    FILETIME access_time = {};
    FILETIME creation_time = {};
    FILETIME write_time = {};
    uint32_t compressed_size = 0;
    uint32_t uncompressed_size = 0;
};

class ZipReader;

// What OpenArchive gives out: a kind (kZipHandleReader) and the reader.
struct ZipHandle {
    ZipHandle();
    ZipHandle(const ZipHandle &) = delete;
    ZipHandle &operator=(const ZipHandle &) = delete;
    ~ZipHandle();

    uint32_t kind = kZipHandleReader;
    std::unique_ptr<ZipReader> reader;
};
using ZipHandlePtr = std::unique_ptr<ZipHandle>;

// Opens the archive file for reading (sharing reads only) and reads its central directory;
// captures the current directory. Null when the file cannot be opened or holds no readable
// central directory.
ZipHandlePtr OpenArchive(const char *file_name);

// The record of entry `index`; index -1 gives a record whose index is the entry count. The
// reader refuses (kZipRefusedEntry) entries with an unsafe name or encrypted data.
uint32_t GetEntry(ZipHandle *handle, int32_t index, ZipEntry &out);

// Writes entry `index` to `target`, creating missing parent folders of a relative target
// under the directory captured at open. The file ends with exactly FILE_ATTRIBUTE_NORMAL,
// whatever the entry's attributes, and gets the entry's times when all data arrived intact,
// both set on the handle that wrote it.
uint32_t ExtractEntry(ZipHandle *handle, int32_t index, const char *target);

// Releases the handle and everything it holds.
uint32_t CloseArchive(ZipHandlePtr handle);

} // namespace korvanta
