#pragma once
// Every entry of an archive as minizip reads it on its own (its file access, its inflate, its
// CRC check): the independent reading the tests compare the program's extractor and the
// generator's archives with. A damaged or hostile archive is read as far as minizip goes.

#include <cstdint>
#include <string>
#include <vector>

namespace korvanta::test {

struct ZipEntry {
    std::string name; // as stored, at its recorded length (a NUL inside it kept)
    uint32_t flags = 0;
    uint32_t dos_date_time = 0; // date in the high word, time in the low one
    uint32_t uncompressed_size = 0;
    uint32_t external_attributes = 0;
    uint32_t central_extra_size = 0;
    int local_extra_size = -1; // -1: the data could not be opened
    bool directory = false;    // by its attributes, the DOS or the Unix one
    // Read whole: opened, exactly the declared size, the CRC right, not encrypted (minizip
    // hands out an encrypted entry's bytes as they are stored).
    bool intact = false;
    std::string data;
};

struct ZipEntries {
    bool opened = false;
    bool complete = false; // every record the end record counts was reached
    uint32_t declared_entries = 0;
    uint32_t comment_size = 0;
    std::vector<ZipEntry> entries;
};

// Without data, only the names, kinds and header fields are read.
ZipEntries ReadZipEntries(const std::string &archive, bool with_data = true);

} // namespace korvanta::test
