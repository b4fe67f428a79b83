#pragma once
// The two icon sets, each a ZIP archive framed as a byte block in the program's constant
// data: a 32-bit dimension count (always 1), a 32-bit byte count, then the bytes.

#include <cstdint>

namespace korvanta {

struct ByteBlock {
    uint32_t dimension_count;
    int32_t byte_count;

    const unsigned char *bytes() const { return reinterpret_cast<const unsigned char *>(this + 1); }
};

} // namespace korvanta

// Defined by the generated assembly in the build tree; never released, never changed.
extern "C" const korvanta::ByteBlock ForeignSet; // "class/", 323 entries
extern "C" const korvanta::ByteBlock StockSet;   // "class2/", 325 entries
