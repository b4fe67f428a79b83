#include "png_forms.h"

#include <png.h>

#include <algorithm>

namespace payload_test {

using korvanta::payload::Image;
using korvanta::payload::Rgba8;

namespace {

unsigned Made(int x, int y, int c, int bits) {
    const uint32_t v = uint32_t(x * 73 + y * 151 + c * 39 + 1) * 2654435761u;
    return (v >> 9) & ((1u << bits) - 1);
}

uint8_t To8(unsigned sample, int bits) {
    return bits == 16 ? uint8_t(sample >> 8) : uint8_t(sample * 255 / ((1u << bits) - 1));
}

int Channels(int colour) {
    switch (colour) {
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

void Append(png_structp png, png_bytep data, size_t size) {
    auto &out = *static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
    out.insert(out.end(), data, data + size);
}

void Flush(png_structp) {}

// The fixed header of a profile with no tags, which libpng takes as well-formed.
std::vector<uint8_t> Profile(bool grey) {
    std::vector<uint8_t> p(132, 0);
    auto put = [&](size_t at, const char *four) { std::copy_n(four, 4, p.begin() + at); };
    p[3] = 132; // size
    p[8] = 2;   // version 2
    put(12, "mntr");
    put(16, grey ? "GRAY" : "RGB ");
    put(20, "XYZ ");
    put(36, "acsp");
    const uint8_t d50[12] = {0, 0, 0xF6, 0xD6, 0, 1, 0, 0, 0, 0, 0xD3, 0x2D};
    std::copy_n(d50, 12, p.begin() + 68);
    return p;
}

std::vector<std::string> ChunkTypes(const std::vector<uint8_t> &file) {
    std::vector<std::string> types;
    for (size_t at = 8; at + 12 <= file.size();) {
        const size_t length =
            size_t(file[at]) << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        types.emplace_back(file.begin() + at + 4, file.begin() + at + 8);
        at += 12 + length;
    }
    return types;
}

} // namespace

PngFixture WritePngForm(int w, int h, const PngForm &form) {
    const int channels = Channels(form.colour);
    const bool palette = form.colour == PNG_COLOR_TYPE_PALETTE;
    const bool key = form.transparency && !palette && channels % 2 == 1;
    std::vector<png_color> colours;
    std::vector<png_byte> alphas;
    for (int i = 0; palette && i < 1 << form.depth; ++i) {
        colours.push_back(
            {png_byte(Made(i, 0, 0, 8)), png_byte(Made(i, 0, 1, 8)), png_byte(Made(i, 0, 2, 8))});
        if (form.transparency && i < (1 << form.depth) / 2 + 1)
            alphas.push_back(png_byte(Made(i, 0, 3, 8)));
    }
    auto sample = [&](int x, int y, int c) {
        // With a colour key, every fourth pixel of every third row is the key, and the next
        // one differs from it in the lowest bit.
        if (key && y % 3 == 0 && x % 4 < 2)
            return Made(0, 0, c, form.depth) ^ unsigned(x % 4);
        return Made(x, y, c, form.depth);
    };

    const unsigned key_samples[3] = {sample(0, 0, 0), sample(0, 0, 1), sample(0, 0, 2)};

    PngFixture fixture;
    fixture.stored = Image(w, h);
    std::vector<std::vector<png_byte>> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        std::vector<png_byte> &row = rows[size_t(y)];
        row.assign((size_t(w) * channels * form.depth + 7) / 8, 0);
        for (int x = 0; x < w; ++x) {
            unsigned s[4] = {};
            for (int c = 0; c < channels; ++c) {
                s[c] = sample(x, y, c);
                const size_t bit = (size_t(x) * channels + c) * form.depth;
                if (form.depth == 16) {
                    row[bit / 8] = png_byte(s[c] >> 8);
                    row[bit / 8 + 1] = png_byte(s[c]);
                } else {
                    row[bit / 8] |= png_byte(s[c] << (8 - form.depth - bit % 8));
                }
            }
            Rgba8 &p = fixture.stored.At(x, y);
            const int d = form.depth;
            if (palette) {
                const png_color &e = colours.at(s[0]);
                p = {e.red, e.green, e.blue, s[0] < alphas.size() ? alphas[s[0]] : png_byte(255)};
            } else if (channels <= 2) {
                const uint8_t g = To8(s[0], d);
                p = {g, g, g, channels == 2 ? To8(s[1], d) : uint8_t(255)};
            } else {
                p = {To8(s[0], d), To8(s[1], d), To8(s[2], d),
                     channels == 4 ? To8(s[3], d) : uint8_t(255)};
            }
            if (key && std::equal(s, s + channels, key_samples))
                p.a = 0;
        }
    }

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &fixture.file, Append, Flush);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), form.depth, form.colour,
                 form.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette)
        png_set_PLTE(png, info, colours.data(), int(colours.size()));
    png_color_16 colour_key{};
    colour_key.gray = colour_key.red = png_uint_16(key_samples[0]);
    colour_key.green = png_uint_16(key_samples[1]);
    colour_key.blue = png_uint_16(key_samples[2]);
    if (form.transparency)
        png_set_tRNS(png, info, alphas.data(), int(alphas.size()), key ? &colour_key : nullptr);
    if (form.gamma)
        png_set_gAMA(png, info, 1.0);
    if (form.srgb)
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    const std::vector<uint8_t> profile = Profile(channels <= 2);
    if (form.icc)
        png_set_iCCP(png, info, "made up", PNG_COMPRESSION_TYPE_BASE, profile.data(),
                     png_uint_32(profile.size()));
    std::vector<png_bytep> pointers;
    for (std::vector<png_byte> &row : rows)
        pointers.push_back(row.data());
    png_write_info(png, info);
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    fixture.chunks = ChunkTypes(fixture.file);
    return fixture;
}

} // namespace payload_test
