#pragma once
// PNG files a modder saves in place of a TGA icon, read with libpng.

#include "image.h"

#include <cstdint>
#include <span>

namespace korvanta::payload {

// True when the bytes begin with the PNG signature.
bool IsPng(std::span<const uint8_t> file);

// The picture as 8-bit straight RGBA, whatever the file's colour type and depth. A file of
// another size than the one wanted is refused before its pixels are read.
DecodedImage ReadPng(std::span<const uint8_t> file, int want_width, int want_height);

} // namespace korvanta::payload
