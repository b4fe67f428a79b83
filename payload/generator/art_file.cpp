#include "art_file.h"

#include "png_reader.h"
#include "tga.h"
#include "tga_reader.h"

#include <cstring>

namespace korvanta::payload {

namespace {

constexpr uint8_t kCompoundSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

ArtFile Refused(std::string why) {
    return {ArtOutcome::Refused, {}, std::move(why)};
}

// Any of the four kinds serves the game, which reads all of them in its own stock set.
bool IsArchiveKind(std::span<const uint8_t> bytes, const TgaFormat &listed) {
    for (uint8_t bits : {24, 32})
        for (uint8_t type : {kTgaUncompressed, kTgaRunLength})
            if (CheckTga(bytes, {listed.width, listed.height, bits, type, listed.footer}).empty())
                return true;
    return false;
}

} // namespace

uint64_t MaxArtFileSize(const Entry &entry) {
    // The largest icon is a 100 × 100 TGA of 32 bits, 40,044 bytes: 4 MiB leaves room a
    // hundred times over for a colour map, an image ID, an extension area, or a PNG's
    // metadata and colour profile. Explorer's cache grows with the pictures of its folder:
    // 16 MiB is two hundred times the listed one's 79,360 bytes.
    return entry.image ? uint64_t(4) << 20 : uint64_t(16) << 20;
}

std::string KindName(const TgaFormat &format) {
    return std::to_string(format.bits) + "-bit " +
           (format.type == kTgaRunLength ? "run-length" : "uncompressed") + " TGA" +
           (format.footer ? " with the footer" : " without footer");
}

ArtFile PrepareArtFile(const Entry &entry, std::span<const uint8_t> bytes) {
    if (!entry.image) {
        if (bytes.size() < sizeof kCompoundSignature ||
            std::memcmp(bytes.data(), kCompoundSignature, sizeof kCompoundSignature) != 0)
            return Refused("not a compound file (a Thumbs.db begins with D0 CF 11 E0 A1 B1 1A E1)");
        return {ArtOutcome::Kept, {bytes.begin(), bytes.end()}, ""};
    }
    const TgaFormat &listed = *entry.image;
    const bool png = IsPng(bytes);
    if (!png && IsArchiveKind(bytes, listed))
        return {ArtOutcome::Kept, {bytes.begin(), bytes.end()}, ""};
    DecodedImage read = png ? ReadPng(bytes, listed.width, listed.height)
                            : ReadTga(bytes, listed.width, listed.height);
    if (!read.problem.empty())
        return Refused(std::move(read.problem));
    if (listed.bits == 24)
        read.image = Flatten(read.image, kOpaqueBackground);
    return {ArtOutcome::Converted, EncodeTga(read.image, listed), read.form};
}

} // namespace korvanta::payload
