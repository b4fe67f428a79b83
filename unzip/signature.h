#pragma once
// The quick test an archive file must pass before the reader opens it.

#include <cstddef>
#include <cstdint>

namespace korvanta {

inline constexpr size_t kSignatureBlockBytes = 32;

// True when the whole 32-byte block was read, it begins with a local file header signature
// (50 4B 03 04) and the signed 32-bit value at offset 24 is at least 1. Offsets 24 to 27 hold
// the upper half of the first entry's size and its name length, so an archive whose first
// entry has an empty name and a size below 65536 fails.
bool PassesSignatureTest(const uint8_t *block, size_t bytes_read);

} // namespace korvanta
