#include "png_writer.h"

#include <stdexcept>
#include <string_view>
#include <zlib.h>

namespace korvanta::payload {

namespace {

void PutBigEndian32(std::vector<uint8_t> &out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t> &out, std::string_view type, const std::vector<uint8_t> &data) {
    PutBigEndian32(out, static_cast<uint32_t>(data.size()));
    const size_t type_at = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    // The CRC covers the chunk type and its data, not the length.
    const uLong crc = crc32(0, out.data() + type_at, static_cast<uInt>(out.size() - type_at));
    PutBigEndian32(out, static_cast<uint32_t>(crc));
}

} // namespace

std::vector<uint8_t> EncodePng(const Image &img) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian32(header, static_cast<uint32_t>(img.width));
    PutBigEndian32(header, static_cast<uint32_t>(img.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, deflate, no filter, no interlace
    Chunk(out, "IHDR", header);

    std::vector<uint8_t> raw;
    raw.reserve(size_t(img.height) * (1 + size_t(img.width) * 4));
    for (int y = 0; y < img.height; ++y) {
        raw.push_back(0); // filter type None
        for (int x = 0; x < img.width; ++x) {
            const Rgba8 p = img.At(x, y);
            raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK)
        throw std::runtime_error("compress2 failed");
    packed.resize(size);
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", {});
    return out;
}

} // namespace korvanta::payload
