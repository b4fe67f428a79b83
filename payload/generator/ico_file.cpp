#include "ico_file.h"

#include "byte_writer.h"

namespace korvanta::payload {

std::vector<uint8_t> EncodeIco(const Image &img) {
    const uint32_t side = 64;
    const uint32_t xor_size = side * side * 3; // rows of 192 bytes, already 4-byte aligned
    const uint32_t and_size = side * side / 8; // rows of 8 bytes, already aligned
    const uint32_t image_size = 40 + xor_size + and_size;
    ByteWriter w;
    w.U16(0); // reserved
    w.U16(1); // type: icon
    w.U16(1); // one image
    w.U8(side);
    w.U8(side);
    w.U8(0);  // no palette
    w.U8(0);  // reserved
    w.U16(0); // planes, left 0 as icon editors write it
    w.U16(24);
    w.U32(image_size);
    w.U32(6 + 16); // the image follows the header and its single entry

    w.U32(40);
    w.U32(side);
    w.U32(side * 2); // the height counts the XOR image and the AND mask together
    w.U16(1);
    w.U16(24);
    w.U32(0); // BI_RGB
    w.U32(xor_size);
    w.Fill(16, 0); // resolution and palette counts
    for (int y = static_cast<int>(side) - 1; y >= 0; --y) {
        for (uint32_t x = 0; x < side; ++x) {
            const Rgba8 p = img.At(static_cast<int>(x), y);
            w.U8(p.b);
            w.U8(p.g);
            w.U8(p.r);
        }
    }
    w.Fill(and_size, 0);
    return w.Take();
}

} // namespace korvanta::payload
