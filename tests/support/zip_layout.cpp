#include "tests/support/zip_layout.h"

#include <algorithm>
#include <iterator>

namespace korvanta::test {
namespace {

using Widths = std::vector<std::pair<const char *, size_t>>;

// What a local header and a central record both hold, in the same order.
const Widths &EntryFields() {
    static const Widths fields = {
        {"version needed", 2}, {"flags", 2},       {"method", 2},          {"time", 2},
        {"date", 2},           {"crc", 4},         {"compressed size", 4}, {"uncompressed size", 4},
        {"name length", 2},    {"extra length", 2}};
    return fields;
}

// Each field where the one before it ends.
std::vector<HeaderField> BackToBack(std::initializer_list<Widths> parts) {
    std::vector<HeaderField> fields;
    size_t offset = 0;
    for (const Widths &part : parts) {
        for (auto [name, width] : part) {
            fields.push_back({name, offset, width});
            offset += width;
        }
    }
    return fields;
}

bool Fits(std::string_view bytes, size_t offset, size_t length) {
    return offset <= bytes.size() && length <= bytes.size() - offset;
}

// The end record whose comment reaches exactly to the end of the file, searched from the
// back as readers do.
std::optional<size_t> FindEndRecord(std::string_view bytes) {
    const size_t fixed = FixedSize(EndRecordFields());
    if (bytes.size() < fixed)
        return std::nullopt;
    const size_t last = bytes.size() - fixed;
    const size_t first = last > 0xffff ? last - 0xffff : 0;
    for (size_t at = last + 1; at-- > first;) {
        if (ReadLe(bytes, at, 4) == kEndSignature &&
            at + fixed + ReadLe(bytes, at + 20, 2) == bytes.size())
            return at;
    }
    return std::nullopt;
}

// The parts of one structure back to back from `at`, the empty ones left out; gives the end.
size_t AddRegions(ZipLayout &layout, size_t at, int entry,
                  std::initializer_list<std::pair<RegionKind, size_t>> parts) {
    for (auto [kind, length] : parts) {
        if (length > 0)
            layout.regions.push_back({kind, at, at + length, entry});
        at += length;
    }
    return at;
}

} // namespace

const char *RegionName(RegionKind kind) {
    // In the order of RegionKind.
    static const char *const names[] = {"local header",  "local name",      "local extra",
                                        "data",          "central record",  "central name",
                                        "central extra", "central comment", "end record"};
    static_assert(std::size(names) == static_cast<size_t>(RegionKind::EndRecord) + 1);
    return names[static_cast<size_t>(kind)];
}

const std::vector<HeaderField> &LocalHeaderFields() {
    static const std::vector<HeaderField> fields = BackToBack({{{"signature", 4}}, EntryFields()});
    return fields;
}

const std::vector<HeaderField> &CentralHeaderFields() {
    static const std::vector<HeaderField> fields =
        BackToBack({{{"signature", 4}, {"version made by", 2}},
                    EntryFields(),
                    {{"comment length", 2},
                     {"disk start", 2},
                     {"internal attributes", 2},
                     {"external attributes", 4},
                     {"local header offset", 4}}});
    return fields;
}

const std::vector<HeaderField> &EndRecordFields() {
    static const std::vector<HeaderField> fields = BackToBack({{{"signature", 4},
                                                                {"disk", 2},
                                                                {"central directory disk", 2},
                                                                {"entries on this disk", 2},
                                                                {"entries", 2},
                                                                {"central directory size", 4},
                                                                {"central directory offset", 4},
                                                                {"comment length", 2}}});
    return fields;
}

uint32_t ReadLe(std::string_view bytes, size_t offset, size_t width) {
    uint32_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | static_cast<uint8_t>(bytes.at(offset + i));
    return value;
}

void WriteLe(std::string &bytes, size_t offset, size_t width, uint32_t value) {
    for (size_t i = 0; i < width; ++i, value >>= 8)
        bytes[offset + i] = static_cast<char>(value & 0xff);
}

size_t FixedSize(const std::vector<HeaderField> &fields) {
    return fields.back().offset + fields.back().width;
}

std::map<std::string, uint32_t> ReadFields(std::string_view bytes, size_t at,
                                           const std::vector<HeaderField> &fields) {
    std::map<std::string, uint32_t> values;
    for (const HeaderField &field : fields)
        values[field.name] = ReadLe(bytes, at + field.offset, field.width);
    return values;
}

std::optional<ZipLayout> ParseLayout(std::string_view bytes) {
    const size_t local_fixed = FixedSize(LocalHeaderFields());
    const size_t central_fixed = FixedSize(CentralHeaderFields());
    const std::optional<size_t> end = FindEndRecord(bytes);
    if (!end)
        return std::nullopt;
    const auto end_record = ReadFields(bytes, *end, EndRecordFields());
    ZipLayout layout;
    layout.entry_count = end_record.at("entries");
    layout.regions.push_back({RegionKind::EndRecord, *end, bytes.size(), -1});

    size_t at = end_record.at("central directory offset");
    for (size_t entry = 0; entry < layout.entry_count; ++entry) {
        const int index = static_cast<int>(entry);
        if (!Fits(bytes, at, central_fixed) || ReadLe(bytes, at, 4) != kCentralSignature)
            return std::nullopt;
        const auto central = ReadFields(bytes, at, CentralHeaderFields());
        const size_t name = central.at("name length");
        const size_t extra = central.at("extra length");
        const size_t comment = central.at("comment length");
        const size_t compressed = central.at("compressed size");
        const size_t local = central.at("local header offset");
        if (!Fits(bytes, at, central_fixed + name + extra + comment))
            return std::nullopt;
        at = AddRegions(layout, at, index,
                        {{RegionKind::CentralHeader, central_fixed},
                         {RegionKind::CentralName, name},
                         {RegionKind::CentralExtra, extra},
                         {RegionKind::CentralComment, comment}});

        if (!Fits(bytes, local, local_fixed) || ReadLe(bytes, local, 4) != kLocalSignature)
            return std::nullopt;
        const auto local_header = ReadFields(bytes, local, LocalHeaderFields());
        const size_t local_name = local_header.at("name length");
        const size_t local_extra = local_header.at("extra length");
        if (!Fits(bytes, local, local_fixed + local_name + local_extra + compressed))
            return std::nullopt;
        AddRegions(layout, local, index,
                   {{RegionKind::LocalHeader, local_fixed},
                    {RegionKind::LocalName, local_name},
                    {RegionKind::LocalExtra, local_extra},
                    {RegionKind::Data, compressed}});
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
