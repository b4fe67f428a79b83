#pragma once
// Reads the TGA files paint programs write, not only the four kinds the archives hold:
// true-colour of 15, 16, 24 or 32 bits, grey-scale of 8 bits (16 with alpha), colour-mapped
// with 8- or 16-bit indices; uncompressed or run-length; rows from any corner; with an image
// ID, a colour map and anything after the pixel data (footer, extension area).

#include "image.h"

#include <cstdint>
#include <span>

namespace korvanta::payload {

// The picture, or why it cannot be read. With a wanted size (0 × 0 takes the file's own), a
// file of another size is refused before its pixels are read.
DecodedImage ReadTga(std::span<const uint8_t> file, int want_width = 0, int want_height = 0);

} // namespace korvanta::payload
