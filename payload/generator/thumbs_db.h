#pragma once
// "Thumbs.db": Explorer's thumbnail cache of the icon folder, a compound file with a
// "Catalog" stream and one thumbnail stream per cached image.

#include "dos_time.h"
#include "image.h"

#include <string>
#include <vector>

namespace korvanta::payload {

struct Thumbnailed {
    std::string file_name;
    CivilTime modified; // local time at UTC+8
    const Image *image;
};

inline constexpr int kThumbnailSize = 32;

// Exactly kThumbsSize bytes.
std::vector<uint8_t> BuildThumbsDb(const std::vector<Thumbnailed> &files);

} // namespace korvanta::payload
