#include "tests/hostile/mutator.h"

#include <algorithm>
#include <cstdio>

namespace korvanta::test {
namespace {

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

std::string Where(const Region &region) {
    std::string text = RegionName(region.kind);
    if (region.entry >= 0)
        text += " of entry " + std::to_string(region.entry);
    return text;
}

const Region *FindRegion(const ZipLayout &layout, RegionKind kind, int entry) {
    for (const Region &r : layout.regions) {
        if (r.kind == kind && r.entry == entry)
            return &r;
    }
    return nullptr;
}

// Beginnings that turn a name into one that climbs out, is absolute, names a drive or a
// device, or hides a second name; each is written over the start of a real name.
const char *const kHostilePrefixes[] = {
    "../",  "..\\", "/",   "\\",           "C:",
    "C:\\", "c:/",  "./",  "class/../../", "class\\..\\..\\",
    "CON/", "nul.", "a:b", "\\\\srv\\",    "//?/",
};

} // namespace

const char *MutationKindName(MutationKind kind) {
    static const char *const names[kMutationKinds] = {"field value", "header bytes", "hostile name",
                                                      "data bytes",  "truncation",   "splice",
                                                      "any bytes"};
    return names[static_cast<int>(kind)];
}

Mutator::Mutator(std::string_view original, uint32_t seed)
    : original_(original), state_(0x9e3779b97f4a7c15ull * (uint64_t{seed} + 1)) {
    std::optional<ZipLayout> layout = ParseLayout(original_);
    valid_ = layout.has_value() && !layout->regions.empty();
    if (valid_)
        layout_ = std::move(*layout);
}

uint32_t Mutator::Below(uint32_t bound) {
    state_ += 0x9e3779b97f4a7c15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return bound == 0 ? 0 : static_cast<uint32_t>(z % bound);
}

const Region &Mutator::PickRegion(bool headers_only) {
    for (;;) {
        const Region &r = layout_.regions[Below(static_cast<uint32_t>(layout_.regions.size()))];
        if (!headers_only || r.kind != RegionKind::Data)
            return r;
    }
}

Mutant Mutator::Next() {
    for (;;) {
        Mutant m;
        // Weighted towards the headers: they are a few percent of the bytes but decide
        // everything the extractor does.
        const uint32_t pick = Below(20);
        if (pick < 5)
            m = SetField();
        else if (pick < 8)
            m = ChangeHeaderBytes();
        else if (pick < 11)
            m = WriteHostileName();
        else if (pick < 14)
            m = ChangeDataBytes();
        else if (pick < 16)
            m = Truncate();
        else if (pick < 18)
            m = Splice();
        else
            m = ChangeAnyBytes();
        if (m.bytes != original_)
            return m;
    }
}

Mutant Mutator::SetField() {
    const uint32_t which = Below(3);
    const RegionKind kind = which == 0   ? RegionKind::LocalHeader
                            : which == 1 ? RegionKind::CentralHeader
                                         : RegionKind::EndRecord;
    const std::vector<HeaderField> &fields = which == 0   ? LocalHeaderFields()
                                             : which == 1 ? CentralHeaderFields()
                                                          : EndRecordFields();
    std::vector<const Region *> headers;
    for (const Region &r : layout_.regions) {
        if (r.kind == kind)
            headers.push_back(&r);
    }
    const Region &header = *headers[Below(static_cast<uint32_t>(headers.size()))];
    const HeaderField &field = fields[Below(static_cast<uint32_t>(fields.size()))];
    const uint32_t old = ReadLe(original_, header.begin + field.offset, field.width);
    const uint32_t candidates[] = {0,           1,       0xffffffffu, 0x7fffffffu,
                                   0x80000000u, old + 1, old - 1,     old * 2,
                                   old / 2,     0x10,    0x40000000u, Below(0xffffffffu)};
    uint32_t value = candidates[Below(static_cast<uint32_t>(std::size(candidates)))];
    if (field.width == 2)
        value &= 0xffff;
    Mutant m{original_, MutationKind::FieldValue, {}};
    WriteLe(m.bytes, header.begin + field.offset, field.width, value);
    m.what = Where(header) + ": " + field.name + " " + Hex(old) + " -> " + Hex(value);
    return m;
}

Mutant Mutator::ChangeHeaderBytes() {
    const Region &r = PickRegion(true);
    Mutant m{original_, MutationKind::HeaderBytes, Where(r) + ": bytes"};
    const uint32_t count = 1 + Below(4);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = r.begin + Below(static_cast<uint32_t>(r.end - r.begin));
        m.bytes[at] = static_cast<char>(Below(256));
        m.what += " @" + std::to_string(at) + "=" + Hex(static_cast<uint8_t>(m.bytes[at]));
    }
    return m;
}

Mutant Mutator::WriteHostileName() {
    const Region &central = [&]() -> const Region & {
        for (;;) {
            const Region &r = PickRegion(true);
            if (r.kind == RegionKind::CentralName)
                return r;
        }
    }();
    const Region *local = FindRegion(layout_, RegionKind::LocalName, central.entry);
    const size_t length = central.end - central.begin;
    std::string name = original_.substr(central.begin, length);
    std::string how;
    switch (Below(4)) {
    case 0: { // a hostile beginning
        const std::string prefix = kHostilePrefixes[Below(std::size(kHostilePrefixes))];
        name.replace(0, std::min(prefix.size(), length), prefix.substr(0, length));
        how = "begins with \"" + prefix + "\"";
        break;
    }
    case 1: { // the name of another entry of the same length: a duplicate
        for (const Region &other : layout_.regions) {
            if (other.kind == RegionKind::CentralName && other.entry != central.entry &&
                other.end - other.begin == length) {
                name = original_.substr(other.begin, length);
                how = "duplicate of entry " + std::to_string(other.entry);
                break;
            }
        }
        if (how.empty()) {
            name.back() = '/';
            how = "ends in /";
        }
        break;
    }
    case 2: // a file name ending in a separator, with no directory attribute
        name.back() = Below(2) ? '/' : '\\';
        how = "ends in a separator";
        break;
    default: { // a byte that no file name may hold, or a lone lead byte
        const char odd[] = {'\0', ':', '*', '?', '"', '<', '>', '|', '\x01', '\x81', '.', ' '};
        const size_t at = Below(static_cast<uint32_t>(length));
        name[at] = odd[Below(std::size(odd))];
        how = "byte " + std::to_string(at) + " = " + Hex(static_cast<uint8_t>(name[at]));
        break;
    }
    }
    Mutant m{original_, MutationKind::HostileName, {}};
    m.bytes.replace(central.begin, length, name);
    if (local && local->end - local->begin == length)
        m.bytes.replace(local->begin, length, name);
    m.what = "name of entry " + std::to_string(central.entry) + " " + how;
    return m;
}

Mutant Mutator::ChangeDataBytes() {
    std::vector<const Region *> data;
    for (const Region &r : layout_.regions) {
        if (r.kind == RegionKind::Data)
            data.push_back(&r);
    }
    if (data.empty())
        return ChangeAnyBytes();
    const Region &r = *data[Below(static_cast<uint32_t>(data.size()))];
    Mutant m{original_, MutationKind::DataBytes, Where(r) + ":"};
    const uint32_t count = 1 + Below(8);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = r.begin + Below(static_cast<uint32_t>(r.end - r.begin));
        m.bytes[at] = static_cast<char>(m.bytes[at] ^ (1 + Below(255)));
        m.what += " @" + std::to_string(at);
    }
    return m;
}

Mutant Mutator::Truncate() {
    const auto size = static_cast<uint32_t>(original_.size());
    uint32_t length = 0;
    std::string how;
    if (Below(2) == 0) {
        length = Below(size);
        how = "at random";
    } else {
        const Region &r = layout_.regions[Below(static_cast<uint32_t>(layout_.regions.size()))];
        const int64_t at = static_cast<int64_t>(r.begin) + static_cast<int64_t>(Below(5)) - 2;
        length = static_cast<uint32_t>(std::clamp<int64_t>(at, 0, size - 1));
        how = "near the start of the " + Where(r);
    }
    return {original_.substr(0, length), MutationKind::Truncation,
            "cut to " + std::to_string(length) + " bytes " + how};
}

Mutant Mutator::Splice() {
    const Region &from = PickRegion(Below(2) == 0);
    const uint32_t span = static_cast<uint32_t>(from.end - from.begin);
    const size_t length = 1 + Below(std::min<uint32_t>(span, 64));
    const std::string run = original_.substr(from.begin, length);
    const Region &to = PickRegion(Below(4) != 0);
    const size_t at = to.begin + Below(static_cast<uint32_t>(to.end - to.begin));
    Mutant m{original_, MutationKind::Splice, {}};
    const bool insert = Below(2) == 0;
    if (insert)
        m.bytes.insert(at, run);
    else
        m.bytes.replace(at, std::min(length, m.bytes.size() - at),
                        run.substr(0, m.bytes.size() - at));
    m.what = std::to_string(length) + " bytes of the " + Where(from) +
             (insert ? " inserted into the " : " written over the ") + Where(to) + " @" +
             std::to_string(at);
    return m;
}

Mutant Mutator::ChangeAnyBytes() {
    Mutant m{original_, MutationKind::AnyBytes, "bytes"};
    const uint32_t count = 1 + Below(16);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = Below(static_cast<uint32_t>(m.bytes.size()));
        m.bytes[at] = static_cast<char>(Below(256));
        m.what += " @" + std::to_string(at);
    }
    return m;
}

} // namespace korvanta::test
