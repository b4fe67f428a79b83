#include "image.h"

namespace korvanta::payload {

namespace {

uint8_t Mix(uint8_t over, uint8_t under, int alpha) {
    return static_cast<uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

} // namespace

std::string SizeProblem(int width, int height, int want_width, int want_height) {
    if (width == want_width && height == want_height)
        return "";
    return std::to_string(width) + " × " + std::to_string(height) + " pixels, must be " +
           std::to_string(want_width) + " × " + std::to_string(want_height);
}

Image Flatten(const Image &img, Rgba8 background) {
    Image out = img;
    for (Rgba8 &p : out.pixels)
        p = {Mix(p.r, background.r, p.a), Mix(p.g, background.g, p.a), Mix(p.b, background.b, p.a),
             255};
    return out;
}

void Blit(Image &dst, const Image &src, int x, int y, int scale) {
    for (int sy = 0; sy < src.height * scale; ++sy) {
        for (int sx = 0; sx < src.width * scale; ++sx) {
            const int dx = x + sx, dy = y + sy;
            if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height)
                continue;
            const Rgba8 s = src.At(sx / scale, sy / scale);
            Rgba8 &d = dst.At(dx, dy);
            const int out_a = s.a + d.a * (255 - s.a) / 255;
            if (out_a == 0) {
                d = {};
                continue;
            }
            // Straight-alpha "over": weight the destination by its remaining coverage.
            const int wd = d.a * (255 - s.a) / 255;
            auto ch = [&](uint8_t sc, uint8_t dc) {
                return static_cast<uint8_t>((sc * s.a + dc * wd + out_a / 2) / out_a);
            };
            d = {ch(s.r, d.r), ch(s.g, d.g), ch(s.b, d.b), static_cast<uint8_t>(out_a)};
        }
    }
}

} // namespace korvanta::payload
