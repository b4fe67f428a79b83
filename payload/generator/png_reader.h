#pragma once
// PNG files a modder saves in place of a TGA icon, read with libpng.

#include "image.h"

#include <cstdint>
#include <span>

namespace korvanta::payload {

// True when the bytes begin with the PNG signature.
bool IsPng(std::span<const uint8_t> file);

// The picture as 8-bit straight RGBA of the samples the file stores, whatever its colour type
// and depth: a 16-bit sample by its high byte, and no gamma or colour-space conversion
// whatever its chunks say. A file of another size than the one wanted is refused before its
// pixels are read.
DecodedImage ReadPng(std::span<const uint8_t> file, int want_width, int want_height);

} // namespace korvanta::payload
