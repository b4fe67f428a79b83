#include "unzip/entry_fields.h"

#include "base/platform_values.h"

namespace korvanta {
namespace {

constexpr uint32_t kUnixDirectory = 0x40000000; // S_IFDIR in the upper half
constexpr uint32_t kUnixOwnerWrite = 0x00800000;

uint32_t ReadLe16(const uint8_t *p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

int32_t ReadLe32Signed(const uint8_t *p) {
    uint32_t v = ReadLe16(p) | ReadLe16(p + 2) << 16;
    return static_cast<int32_t>(v);
}

} // namespace

uint32_t MapExternalAttributes(uint32_t external) {
    uint32_t attributes = win::kFileAttributeNormal;
    if (external & (kUnixDirectory | win::kFileAttributeDirectory))
        attributes = win::kFileAttributeDirectory | win::kFileAttributeNormal;
    if (external & win::kFileAttributeArchive)
        attributes |= win::kFileAttributeArchive;
    if (external & win::kFileAttributeHidden)
        attributes |= win::kFileAttributeHidden;
    // An archive made on DOS or Windows has the Unix half zero, so its files come out
    // read-only here; the extractor clears that again after writing.
    if (!(external & kUnixOwnerWrite) || (external & win::kFileAttributeReadOnly))
        attributes |= win::kFileAttributeReadOnly;
    if (external & win::kFileAttributeSystem)
        attributes |= win::kFileAttributeSystem;
    return attributes;
}

ExtendedTimes ReadExtendedTimestamp(const uint8_t *field, size_t length) {
    ExtendedTimes times;
    if (field == nullptr || length <= 4)
        return times;
    size_t block = 0;
    while (block + 4 < length) {
        const size_t data_size = ReadLe16(field + block + 2);
        if (field[block] != 'U' || field[block + 1] != 'T') {
            block += data_size + 4;
            continue;
        }
        // A block may announce more than the field holds; only bytes inside both count.
        size_t end = block + 4 + data_size;
        if (end > length)
            end = length;
        size_t at = block + 4;
        if (at >= end)
            return times;
        const uint8_t flags = field[at++];
        bool *found[] = {&times.has_write, &times.has_access, &times.has_creation};
        int32_t *value[] = {&times.write, &times.access, &times.creation};
        for (int bit = 0; bit < 3; ++bit) {
            if (!(flags & (1u << bit)))
                continue;
            if (at + 4 > end)
                break;
            *value[bit] = ReadLe32Signed(field + at);
            *found[bit] = true;
            at += 4;
        }
        return times;
    }
    return times;
}

} // namespace korvanta
