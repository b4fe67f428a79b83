#include "tga.h"

#include "byte_writer.h"
#include "tga_reader.h"

#include <algorithm>
#include <cstring>

namespace korvanta::payload {

namespace {

constexpr int kMaxPacket = 128;

void Put16(std::vector<uint8_t> &out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void AppendPixel(std::vector<uint8_t> &out, const Rgba8 &p, int bytes_per_pixel) {
    out.push_back(p.b);
    out.push_back(p.g);
    out.push_back(p.r);
    if (bytes_per_pixel == 4)
        out.push_back(p.a);
}

// Walks the pixel data from the end of the header; returns the offset just past it, or 0
// with a reason when the data is short or a packet overruns the image.
size_t PixelDataEnd(std::span<const uint8_t> file, uint8_t type, size_t pixels, int bpp,
                    std::string &why) {
    if (type == kTgaUncompressed) {
        const size_t end = kTgaHeaderSize + pixels * bpp;
        if (file.size() < end) {
            why = "pixel data is cut short";
            return 0;
        }
        return end;
    }
    size_t at = kTgaHeaderSize, done = 0;
    while (done < pixels) {
        if (at >= file.size()) {
            why = "run-length data ends after " + std::to_string(done) + " of " +
                  std::to_string(pixels) + " pixels";
            return 0;
        }
        const uint8_t head = file[at++];
        const size_t count = (head & 0x7F) + 1u;
        const size_t payload = (head & 0x80) ? bpp : count * bpp;
        if (done + count > pixels) {
            why = "run-length packets decode to more than " + std::to_string(pixels) + " pixels";
            return 0;
        }
        if (file.size() - at < payload) {
            why = "run-length data ends inside a packet";
            return 0;
        }
        at += payload;
        done += count;
    }
    return at;
}

bool IsFooter(std::span<const uint8_t> tail) {
    return std::equal(tail.begin(), tail.end(), TgaFooter().begin(), TgaFooter().end());
}

std::string Hex(unsigned v) {
    const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[(v >> 4) & 15] + digits[v & 15];
}

} // namespace

const std::array<uint8_t, kTgaFooterSize> &TgaFooter() {
    static const std::array<uint8_t, kTgaFooterSize> footer = [] {
        std::array<uint8_t, kTgaFooterSize> f{}; // no extension area, no developer directory
        constexpr char signature[] = "TRUEVISION-XFILE."; // with its NUL: 18 bytes
        std::copy(signature, signature + sizeof signature, f.begin() + 8);
        return f;
    }();
    return footer;
}

void AppendRunLengthRow(std::vector<uint8_t> &out, std::span<const uint8_t> row,
                        int bytes_per_pixel) {
    const size_t n = row.size() / bytes_per_pixel;
    auto same = [&](size_t a, size_t b) {
        return std::memcmp(&row[a * bytes_per_pixel], &row[b * bytes_per_pixel], bytes_per_pixel) ==
               0;
    };
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < kMaxPacket && same(i, i + run))
            ++run;
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
            out.insert(out.end(), &row[i * bytes_per_pixel], &row[(i + 1) * bytes_per_pixel]);
            i += run;
            continue;
        }
        // A raw packet runs until the next pair of equal pixels, which a run packet takes.
        size_t raw = 1;
        while (i + raw < n && raw < kMaxPacket && !(i + raw + 1 < n && same(i + raw, i + raw + 1)))
            ++raw;
        out.push_back(static_cast<uint8_t>(raw - 1));
        out.insert(out.end(), &row[i * bytes_per_pixel], &row[(i + raw) * bytes_per_pixel]);
        i += raw;
    }
}

std::vector<uint8_t> EncodeTga(const Image &img, const TgaFormat &format) {
    const int bpp = format.bits / 8;
    std::vector<uint8_t> out;
    out.reserve(kTgaHeaderSize + size_t(img.width) * img.height * bpp + kTgaFooterSize);
    out.push_back(0); // image ID length
    out.push_back(0); // no colour map
    out.push_back(format.type);
    out.insert(out.end(), 5, 0); // colour-map specification
    Put16(out, 0);               // X origin
    Put16(out, 0);               // Y origin
    Put16(out, static_cast<uint16_t>(img.width));
    Put16(out, static_cast<uint16_t>(img.height));
    out.push_back(format.bits);
    out.push_back(format.Descriptor());

    std::vector<uint8_t> row;
    for (int y = img.height - 1; y >= 0; --y) { // bottom-up
        row.clear();
        for (int x = 0; x < img.width; ++x)
            AppendPixel(row, img.At(x, y), bpp);
        if (format.type == kTgaRunLength)
            AppendRunLengthRow(out, row, bpp);
        else
            out.insert(out.end(), row.begin(), row.end());
    }
    if (format.footer)
        out.insert(out.end(), TgaFooter().begin(), TgaFooter().end());
    return out;
}

std::string CheckTga(std::span<const uint8_t> file, const TgaFormat &expected) {
    if (file.size() < kTgaHeaderSize)
        return "shorter than the 18-byte TGA header";
    if (file[0] != 0)
        return "image ID length is " + std::to_string(file[0]) + ", must be 0";
    if (file[1] != 0)
        return "has a colour map (colour-map type " + std::to_string(file[1]) + ")";
    if (std::any_of(file.begin() + 3, file.begin() + 8, [](uint8_t b) { return b != 0; }))
        return "colour-map specification is not all zero";
    if (file[2] != expected.type)
        return "image type is " + std::to_string(file[2]) + ", must be " +
               std::to_string(expected.type);
    if (Le16(file, 8) != 0 || Le16(file, 10) != 0)
        return "origin is not 0,0";
    const uint16_t w = Le16(file, 12), h = Le16(file, 14);
    if (w != expected.width || h != expected.height)
        return "dimensions are " + std::to_string(w) + "x" + std::to_string(h) + ", must be " +
               std::to_string(expected.width) + "x" + std::to_string(expected.height);
    if (file[16] != expected.bits)
        return "pixel depth is " + std::to_string(file[16]) + " bits, must be " +
               std::to_string(expected.bits);
    if (file[17] != expected.Descriptor())
        return "image descriptor is " + Hex(file[17]) + ", must be " + Hex(expected.Descriptor());

    std::string why;
    const size_t end = PixelDataEnd(file, expected.type, size_t(w) * h, expected.bits / 8, why);
    if (end == 0)
        return why;
    const auto tail = file.subspan(end);
    if (expected.footer) {
        if (tail.size() < kTgaFooterSize || !IsFooter(tail.last(kTgaFooterSize)))
            return "does not end with the TGA 2.0 footer";
        if (tail.size() != kTgaFooterSize)
            return std::to_string(tail.size() - kTgaFooterSize) +
                   " stray bytes between the pixel data and the footer";
        return "";
    }
    if (!tail.empty())
        return std::to_string(tail.size()) +
               " bytes follow the pixel data; this file must end with its last pixel packet";
    return "";
}

Image DecodeTga(std::span<const uint8_t> file) {
    DecodedImage read = ReadTga(file);
    return read.problem.empty() ? std::move(read.image) : Image{};
}

} // namespace korvanta::payload
