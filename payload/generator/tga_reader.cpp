#include "tga_reader.h"

#include "byte_writer.h"
#include "tga.h"

#include <algorithm>
#include <string>
#include <vector>

namespace korvanta::payload {

namespace {

constexpr size_t kHeaderSize = 18;

struct Header {
    uint8_t id_length, map_type, type;
    uint16_t map_first, map_length;
    uint8_t map_bits;
    uint16_t width, height;
    uint8_t bits, descriptor;
};

uint8_t Expand5(unsigned v) {
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}

// One stored colour of 15, 16, 24 or 32 bits, blue first. A 16-bit colour's top bit is alpha
// only when the descriptor counts an alpha bit; many writers leave it unset.
Rgba8 Colour(const uint8_t *p, int bits, bool alpha_bit) {
    if (bits <= 16) {
        const unsigned v = p[0] | (p[1] << 8);
        const uint8_t a = alpha_bit && !(v & 0x8000) ? 0 : 255;
        return {Expand5((v >> 10) & 31), Expand5((v >> 5) & 31), Expand5(v & 31), a};
    }
    return {p[2], p[1], p[0], bits == 32 ? p[3] : uint8_t(255)};
}

// What one stored pixel element is: its size and how it becomes a colour.
struct PixelForm {
    int bytes = 0;
    std::string name; // "" when this tool does not read the combination
};

PixelForm FormOf(const Header &h) {
    switch (h.type & 7) {
    case 1:
        if (h.map_type == 1 && (h.bits == 8 || h.bits == 16) &&
            (h.map_bits == 15 || h.map_bits == 16 || h.map_bits == 24 || h.map_bits == 32))
            return {h.bits / 8, "colour-mapped, " + std::to_string(h.map_bits) + "-bit colours"};
        return {};
    case 2:
        if (h.bits == 15 || h.bits == 16 || h.bits == 24 || h.bits == 32)
            return {(h.bits + 7) / 8, std::to_string(h.bits) + " bits"};
        return {};
    default:
        if (h.bits == 8 || h.bits == 16)
            return {h.bits / 8, h.bits == 8 ? "grey-scale" : "grey-scale with alpha"};
        return {};
    }
}

std::string Describe(const Header &h, const PixelForm &form) {
    std::string s = "TGA, " + form.name;
    if (h.type & 8)
        s += ", run-length";
    if (h.descriptor & 0x20)
        s += ", rows top-down";
    if (h.descriptor & 0x10)
        s += ", right to left";
    if (h.id_length)
        s += ", with an image ID";
    return s;
}

} // namespace

DecodedImage ReadTga(std::span<const uint8_t> file, int want_width, int want_height) {
    DecodedImage out;
    if (file.size() < kHeaderSize) {
        out.problem = "not an image (" + std::to_string(file.size()) +
                      " bytes, shorter than a TGA header and no PNG)";
        return out;
    }
    const Header h{file[0], file[1],        file[2],        Le16(file, 3), Le16(file, 5),
                   file[7], Le16(file, 12), Le16(file, 14), file[16],      file[17]};
    // TGA has no signature: a header whose fixed fields hold no TGA values is something else.
    const bool known_type =
        h.type == 1 || h.type == 2 || h.type == 3 || h.type == 9 || h.type == 10 || h.type == 11;
    if (!known_type || h.map_type > 1 || h.width == 0 || h.height == 0 || (h.descriptor & 0xC0)) {
        out.problem = "not an image (neither a TGA nor a PNG)";
        return out;
    }
    const PixelForm form = FormOf(h);
    if (form.bytes == 0) {
        out.problem = "a TGA of type " + std::to_string(h.type) + " with " +
                      std::to_string(h.bits) +
                      "-bit pixels, which cannot be read here: save it as a 24- or 32-bit TGA "
                      "or as a PNG";
        return out;
    }
    out.form = Describe(h, form);
    if (want_width || want_height) {
        out.problem = SizeProblem(h.width, h.height, want_width, want_height);
        if (!out.problem.empty())
            return out;
    }

    const size_t map_entry = (h.map_bits + 7) / 8;
    const size_t map_at = kHeaderSize + h.id_length;
    size_t at = map_at + (h.map_type ? h.map_length * map_entry : 0);
    const size_t pixels = size_t(h.width) * h.height;
    auto cut = [&](size_t done) {
        out.problem = "cut short: the pixel data ends after " + std::to_string(done) + " of " +
                      std::to_string(pixels) + " pixels";
        return out;
    };
    if (at > file.size())
        return cut(0);

    const bool alpha_bit = (h.descriptor & 0x0F) != 0;
    std::string bad_index;
    auto element = [&](size_t from) -> Rgba8 {
        const uint8_t *p = &file[from];
        switch (h.type & 7) {
        case 1: {
            const unsigned index = form.bytes == 1 ? p[0] : p[0] | (p[1] << 8);
            if (index < h.map_first || index - h.map_first >= h.map_length) {
                bad_index = std::to_string(index);
                return {};
            }
            return Colour(&file[map_at + (index - h.map_first) * map_entry], h.map_bits, alpha_bit);
        }
        case 2:
            return Colour(p, h.bits, alpha_bit);
        default:
            return {p[0], p[0], p[0], form.bytes == 2 ? p[1] : uint8_t(255)};
        }
    };

    std::vector<Rgba8> flat;
    flat.reserve(pixels);
    const size_t bpp = form.bytes;
    if (!(h.type & 8)) {
        if ((file.size() - at) / bpp < pixels)
            return cut((file.size() - at) / bpp);
        for (size_t i = 0; i < pixels; ++i, at += bpp)
            flat.push_back(element(at));
    } else {
        while (flat.size() < pixels) {
            if (at >= file.size())
                return cut(flat.size());
            const uint8_t head = file[at++];
            const size_t count = (head & 0x7F) + 1u;
            if (flat.size() + count > pixels) {
                out.problem = "run-length data decodes to more than " + std::to_string(h.width) +
                              " × " + std::to_string(h.height) + " pixels";
                return out;
            }
            const size_t payload = (head & 0x80) ? bpp : count * bpp;
            if (file.size() - at < payload)
                return cut(flat.size());
            for (size_t i = 0; i < count; ++i)
                flat.push_back(element((head & 0x80) ? at : at + i * bpp));
            at += payload;
        }
    }
    // What follows the pixels is free (footer, extension area), but the first bytes of a
    // footer alone are a file cut short.
    const std::span<const uint8_t> tail = file.subspan(at);
    if (!tail.empty() && tail.size() < kTgaFooterSize &&
        std::equal(tail.begin(), tail.end(), TgaFooter().begin())) {
        out.problem = "cut short: the footer ends after " + std::to_string(tail.size()) + " of " +
                      std::to_string(kTgaFooterSize) + " bytes";
        return out;
    }
    if (!bad_index.empty()) {
        out.problem = "colour index " + bad_index + " lies outside the colour map";
        return out;
    }

    const bool top_down = h.descriptor & 0x20, right_to_left = h.descriptor & 0x10;
    out.image = Image(h.width, h.height);
    for (int y = 0; y < h.height; ++y)
        for (int x = 0; x < h.width; ++x)
            out.image.At(right_to_left ? h.width - 1 - x : x, top_down ? y : h.height - 1 - y) =
                flat[size_t(y) * h.width + x];
    return out;
}

} // namespace korvanta::payload
