#pragma once
// TGA files in the forms paint programs write, written here by hand rather than by the
// generator's encoder, so that the reader is tested against files it did not make.

#include "archive_rules.h"
#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace payload_test {

struct TgaForm {
    int bits = 32;              // 16, 24 or 32 bits of true colour; 8 for grey-scale
    bool grey = false;          // type 3 / 11
    bool mapped = false;        // type 1 / 9: 8-bit indices into 24-bit colours
    bool rle = false;           // one raw packet per 128 pixels
    bool top_down = false;      // descriptor bit 5
    bool right_to_left = false; // descriptor bit 4
    std::string id;             // the image ID
    std::vector<uint8_t> after; // bytes after the pixel data (before any footer)
    bool footer = false;        // the TGA 2.0 footer
};

// The picture in the given form. Colours are written as the form holds them (16 bits keep
// the top 5 bits of each channel, grey the red one); a colour map lists the distinct colours.
std::vector<uint8_t> WriteTgaForm(const korvanta::payload::Image &img, const TgaForm &form);

// "" when the file's header and ending are those of the rule's kind, else what differs.
std::string KindMismatch(const std::vector<uint8_t> &file, const ImageRule &rule);

} // namespace payload_test
