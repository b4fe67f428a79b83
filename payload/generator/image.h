#pragma once
// An 8-bit RGBA raster, rows top-down, straight (not premultiplied) alpha.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvanta::payload {

struct Rgba8 {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const Rgba8 &, const Rgba8 &) = default;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba8> pixels;

    Image() = default;
    Image(int w, int h, Rgba8 fill = {}) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgba8 &At(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgba8 &At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// A picture read from a file someone supplied: the file's form ("PNG", "TGA, 16 bits"), and
// why it cannot be used, if it cannot.
struct DecodedImage {
    Image image;
    std::string form;
    std::string problem;
};

// "24 × 26 pixels, must be 23 × 26", or "" when the sizes agree.
std::string SizeProblem(int width, int height, int want_width, int want_height);

// The image laid on an opaque colour: what a 24-bit file of it holds.
Image Flatten(const Image &img, Rgba8 background);

// Composites src over dst at (x, y) scaled up by an integer factor, nearest neighbour.
void Blit(Image &dst, const Image &src, int x, int y, int scale);

} // namespace korvanta::payload
