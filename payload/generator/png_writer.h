#pragma once
// A minimal PNG encoder: one IDAT chunk of 8-bit RGBA rows, no filtering.

#include "image.h"

#include <cstdint>
#include <vector>

namespace korvanta::payload {

std::vector<uint8_t> EncodePng(const Image &img);

} // namespace korvanta::payload
