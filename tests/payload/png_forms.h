#pragma once
// PNG files in every colour type and bit depth, with and without transparency, interlacing
// and the chunks that describe colours, written with libpng's own writer rather than the
// generator's, each with the picture its stored samples make.

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace payload_test {

struct PngForm {
    int colour = 2;          // the colour type: 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
    int depth = 8;           // bits of a sample, or of a palette index
    bool interlaced = false; // Adam7
    bool transparency = false; // tRNS: alphas of half the palette, or a colour key
    bool gamma = false;        // gAMA of 1.0, linear light
    bool srgb = false;         // sRGB
    bool icc = false;          // iCCP with a small profile of the colour space
};

struct PngFixture {
    std::vector<uint8_t> file;
    std::vector<std::string> chunks; // the file's chunk types, in order
    // The samples as 8-bit RGBA: 16-bit ones by their high byte, grey below 8 bits widened
    // to the full range, a palette index by its colour, a colour key as transparent.
    korvanta::payload::Image stored;
};

// A picture of w × h whose samples are made up from each pixel's place: spread over the whole
// range, a 16-bit sample's low byte unlike its high one, and with a colour key some pixels
// that differ from it in the lowest bit only.
PngFixture WritePngForm(int w, int h, const PngForm &form);

} // namespace payload_test
