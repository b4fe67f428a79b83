#include "tests/hostile/zip_layout.h"

#include <algorithm>

namespace korvanta::test {
namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr size_t kLocalFixed = 30;
constexpr size_t kCentralFixed = 46;
constexpr size_t kEndFixed = 22;

bool Fits(std::string_view bytes, size_t offset, size_t length) {
    return offset <= bytes.size() && length <= bytes.size() - offset;
}

// The end record whose comment reaches exactly to the end of the file, searched from the
// back as readers do.
std::optional<size_t> FindEndRecord(std::string_view bytes) {
    if (bytes.size() < kEndFixed)
        return std::nullopt;
    const size_t last = bytes.size() - kEndFixed;
    const size_t first = last > 0xffff ? last - 0xffff : 0;
    for (size_t at = last + 1; at-- > first;) {
        if (ReadLe(bytes, at, 4) == kEndSignature &&
            at + kEndFixed + ReadLe(bytes, at + 20, 2) == bytes.size())
            return at;
    }
    return std::nullopt;
}

} // namespace

const char *RegionName(RegionKind kind) {
    switch (kind) {
    case RegionKind::LocalHeader:
        return "local header";
    case RegionKind::LocalName:
        return "local name";
    case RegionKind::LocalExtra:
        return "local extra";
    case RegionKind::Data:
        return "data";
    case RegionKind::CentralHeader:
        return "central record";
    case RegionKind::CentralName:
        return "central name";
    case RegionKind::CentralExtra:
        return "central extra";
    case RegionKind::CentralComment:
        return "central comment";
    case RegionKind::EndRecord:
        return "end record";
    }
    return "?";
}

const std::vector<HeaderField> &LocalHeaderFields() {
    static const std::vector<HeaderField> fields = {
        {"signature", 0, 4},
        {"version needed", 4, 2},
        {"flags", 6, 2},
        {"method", 8, 2},
        {"time", 10, 2},
        {"date", 12, 2},
        {"crc", 14, 4},
        {"compressed size", 18, 4},
        {"uncompressed size", 22, 4},
        {"name length", 26, 2},
        {"extra length", 28, 2},
    };
    return fields;
}

const std::vector<HeaderField> &CentralHeaderFields() {
    static const std::vector<HeaderField> fields = {
        {"signature", 0, 4},
        {"version made by", 4, 2},
        {"version needed", 6, 2},
        {"flags", 8, 2},
        {"method", 10, 2},
        {"time", 12, 2},
        {"date", 14, 2},
        {"crc", 16, 4},
        {"compressed size", 20, 4},
        {"uncompressed size", 24, 4},
        {"name length", 28, 2},
        {"extra length", 30, 2},
        {"comment length", 32, 2},
        {"disk start", 34, 2},
        {"internal attributes", 36, 2},
        {"external attributes", 38, 4},
        {"local header offset", 42, 4},
    };
    return fields;
}

const std::vector<HeaderField> &EndRecordFields() {
    static const std::vector<HeaderField> fields = {
        {"signature", 0, 4},
        {"disk", 4, 2},
        {"central directory disk", 6, 2},
        {"entries on this disk", 8, 2},
        {"entries", 10, 2},
        {"central directory size", 12, 4},
        {"central directory offset", 16, 4},
        {"comment length", 20, 2},
    };
    return fields;
}

uint32_t ReadLe(std::string_view bytes, size_t offset, size_t width) {
    uint32_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | static_cast<uint8_t>(bytes[offset + i]);
    return value;
}

void WriteLe(std::string &bytes, size_t offset, size_t width, uint32_t value) {
    for (size_t i = 0; i < width; ++i, value >>= 8)
        bytes[offset + i] = static_cast<char>(value & 0xff);
}

std::optional<ZipLayout> ParseLayout(std::string_view bytes) {
    const std::optional<size_t> end = FindEndRecord(bytes);
    if (!end)
        return std::nullopt;
    ZipLayout layout;
    layout.entry_count = ReadLe(bytes, *end + 10, 2);
    layout.regions.push_back({RegionKind::EndRecord, *end, bytes.size(), -1});

    size_t at = ReadLe(bytes, *end + 16, 4);
    for (size_t entry = 0; entry < layout.entry_count; ++entry) {
        const int index = static_cast<int>(entry);
        if (!Fits(bytes, at, kCentralFixed) || ReadLe(bytes, at, 4) != kCentralSignature)
            return std::nullopt;
        const size_t name = ReadLe(bytes, at + 28, 2);
        const size_t extra = ReadLe(bytes, at + 30, 2);
        const size_t comment = ReadLe(bytes, at + 32, 2);
        const size_t compressed = ReadLe(bytes, at + 20, 4);
        const size_t local = ReadLe(bytes, at + 42, 4);
        if (!Fits(bytes, at, kCentralFixed + name + extra + comment))
            return std::nullopt;
        size_t part = at;
        for (auto [kind, length] : {std::pair{RegionKind::CentralHeader, kCentralFixed},
                                    {RegionKind::CentralName, name},
                                    {RegionKind::CentralExtra, extra},
                                    {RegionKind::CentralComment, comment}}) {
            if (length > 0)
                layout.regions.push_back({kind, part, part + length, index});
            part += length;
        }
        at = part;

        if (!Fits(bytes, local, kLocalFixed) || ReadLe(bytes, local, 4) != kLocalSignature)
            return std::nullopt;
        const size_t local_name = ReadLe(bytes, local + 26, 2);
        const size_t local_extra = ReadLe(bytes, local + 28, 2);
        if (!Fits(bytes, local, kLocalFixed + local_name + local_extra + compressed))
            return std::nullopt;
        part = local;
        for (auto [kind, length] : {std::pair{RegionKind::LocalHeader, kLocalFixed},
                                    {RegionKind::LocalName, local_name},
                                    {RegionKind::LocalExtra, local_extra},
                                    {RegionKind::Data, compressed}}) {
            if (length > 0)
                layout.regions.push_back({kind, part, part + length, index});
            part += length;
        }
    }
    std::sort(layout.regions.begin(), layout.regions.end(),
              [](const Region &a, const Region &b) { return a.begin < b.begin; });
    for (size_t i = 1; i < layout.regions.size(); ++i) {
        if (layout.regions[i].begin < layout.regions[i - 1].end)
            return std::nullopt; // overlapping structures: not an archive to aim at
    }
    return layout;
}

} // namespace korvanta::test
