#pragma once
// One file a modder supplies for an entry of a set: kept as it is when the archives can carry
// it unchanged, converted to the entry's listed kind when it is another readable image, or
// refused with what is expected instead.

#include "entry_list.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvanta::payload {

enum class ArtOutcome { Kept, Converted, Refused };

struct ArtFile {
    ArtOutcome outcome = ArtOutcome::Refused;
    std::vector<uint8_t> bytes; // what the archive carries (Kept, Converted)
    std::string note;           // Converted: the file's form ("PNG"); Refused: what is expected
};

// The most bytes a file for the entry may have; a larger one is refused by its size, unread.
uint64_t MaxArtFileSize(const Entry &entry);

// "24-bit uncompressed TGA with the footer".
std::string KindName(const TgaFormat &format);

// A TGA of the entry's size in one of the four kinds the archives use (24 or 32 bits,
// uncompressed or run-length, rows bottom-up) with the entry's footer rule is kept byte for
// byte; any other TGA or PNG of that size is converted to the listed kind. A "Thumbs.db"
// is kept when it is a compound file.
ArtFile PrepareArtFile(const Entry &entry, std::span<const uint8_t> bytes);

} // namespace korvanta::payload
