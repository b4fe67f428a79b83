#pragma once
// Test support: writes ZIP archives byte for byte as a test describes them, faults included
// (wrong CRCs, sizes that lie, headers that disagree, odd names and flags), so that every
// hostile archive a test needs is made by the test itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <deque>
#include <vector>

namespace korvanta::test {

uint16_t DosDate(int year, int month, int day);
uint16_t DosTime(int hour, int minute, int second);

// An extended-timestamp extra block: "UT", the data size (the true one unless given), the
// flags byte, then the times in order.
std::string UtBlock(uint8_t flags, const std::vector<uint32_t> &times,
                    std::optional<uint16_t> declared_size = std::nullopt);

uint32_t Crc32(std::string_view data);

// Raw deflate data (no zlib header) of the bytes.
std::string Deflate(std::string_view data);

struct ZipEntrySpec {
    std::string name;
    std::string data;
    uint16_t method = 8; // 0 stored, 8 deflated; others are written as given
    uint16_t flags = 0;
    uint16_t dos_date = DosDate(2009, 1, 9);
    uint16_t dos_time = DosTime(7, 23, 54);
    uint32_t external_attributes = 0x20;
    std::string local_extra;
    std::string central_extra;

    // Faults, applied to both headers unless named local.
    std::optional<uint32_t> crc;
    std::optional<uint32_t> compressed_size;
    std::optional<uint32_t> uncompressed_size;
    std::optional<std::string> stored_bytes; // the entry's data bytes as written, as they are
    std::optional<uint32_t> local_crc;
    std::optional<uint16_t> local_method;
    std::optional<std::string> local_name;
    std::optional<uint16_t> local_extra_length; // the length the local header announces
};

class ZipBuilder {
public:
    // A file entry, deflated unless told otherwise, with the archive bit (0x20).
    ZipEntrySpec &Add(std::string name, std::string data = {}, uint16_t method = 8);
    // A directory entry: stored, empty, with the DOS directory bit (0x10).
    ZipEntrySpec &AddDirectory(std::string name);

    // Local headers with data back to back, the central directory, the end record.
    std::string Bytes() const;
    // Writes Bytes() to the file; false when that fails.
    bool WriteTo(const std::string &path) const;

private:
    std::deque<ZipEntrySpec> entries_; // references from Add stay valid
};

} // namespace korvanta::test
