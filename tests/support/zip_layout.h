#pragma once
// The fixed fields of a ZIP archive's headers as tables, and where the structures of a
// well-formed archive lie, byte by byte: each entry's local header, name, extra field and
// data, each central record with its name, extra field and comment, and the end record.
// Written apart from the program's reader and the generator's writer, so that the tests see
// the headers as any extractor would; the damage of the hostile suite is aimed with it.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvanta::test {

enum class RegionKind {
    LocalHeader, // the 30 fixed bytes
    LocalName,
    LocalExtra,
    Data,
    CentralHeader, // the 46 fixed bytes
    CentralName,
    CentralExtra,
    CentralComment,
    EndRecord, // the 22 fixed bytes and the archive comment
};

const char *RegionName(RegionKind kind);

struct Region {
    RegionKind kind;
    size_t begin; // first byte
    size_t end;   // one past the last byte
    int entry;    // central-directory position of the entry; -1 for the end record
};

// A fixed field of a header: its offset from the header's first byte and its width.
struct HeaderField {
    const char *name;
    size_t offset;
    size_t width; // 2 or 4
};

// The fixed fields of a local header, a central record and the end record.
const std::vector<HeaderField> &LocalHeaderFields();
const std::vector<HeaderField> &CentralHeaderFields();
const std::vector<HeaderField> &EndRecordFields();

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;

// The length of a header's fixed part: 30, 46 or 22 bytes.
size_t FixedSize(const std::vector<HeaderField> &fields);
// The fixed fields of the header that begins at `at`, by name.
std::map<std::string, uint32_t> ReadFields(std::string_view bytes, size_t at,
                                           const std::vector<HeaderField> &fields);

struct ZipLayout {
    // In file order; together they cover every byte of the archive exactly once, unless
    // there are gaps between the structures (none in the archives this suite reads).
    std::vector<Region> regions;
    size_t entry_count = 0;
};

// The layout of an archive whose end record, central directory and local headers are where
// they say; nothing when any of them is not (the archive is already damaged or no ZIP).
std::optional<ZipLayout> ParseLayout(std::string_view archive);

// Little-endian numbers of 1 to 4 bytes; reading past the end throws std::out_of_range.
uint32_t ReadLe(std::string_view bytes, size_t offset, size_t width);
void WriteLe(std::string &bytes, size_t offset, size_t width, uint32_t value);

} // namespace korvanta::test
