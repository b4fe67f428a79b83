#pragma once
// The program's icon file: one 64 x 64 image at 24 bits, stored as a device-independent
// bitmap (not PNG) so every version of the resource compiler and shell takes it.

#include "image.h"

#include <cstdint>
#include <vector>

namespace korvanta::payload {

inline constexpr uint32_t kIcoFileSize = 12862;

// The image must be 64 x 64; alpha is ignored (the AND mask marks every pixel opaque).
std::vector<uint8_t> EncodeIco(const Image &img);

} // namespace korvanta::payload
