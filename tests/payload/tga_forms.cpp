#include "tga_forms.h"

#include "archive_rules.h"
#include "zip_parse.h"

#include <algorithm>
#include <cstring>

namespace payload_test {

using korvanta::payload::Image;
using korvanta::payload::Rgba8;

namespace {

const char kFooter[26] = {0,   0,   0,   0,   0,   0,   0,   0,   'T', 'R', 'U', 'E', 'V',
                          'I', 'S', 'I', 'O', 'N', '-', 'X', 'F', 'I', 'L', 'E', '.', 0};

void Put16(std::vector<uint8_t> &out, unsigned v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

} // namespace

std::vector<uint8_t> WriteTgaForm(const Image &img, const TgaForm &form) {
    std::vector<Rgba8> palette;
    if (form.mapped)
        for (const Rgba8 &p : img.pixels)
            if (std::find(palette.begin(), palette.end(), p) == palette.end())
                palette.push_back(p);
    const int element = form.mapped ? 1 : form.bits / 8;
    std::vector<uint8_t> out;
    out.push_back(uint8_t(form.id.size()));
    out.push_back(form.mapped ? 1 : 0);
    out.push_back(uint8_t((form.mapped ? 1 : form.grey ? 3 : 2) + (form.rle ? 8 : 0)));
    Put16(out, 0);
    Put16(out, unsigned(palette.size()));
    out.push_back(form.mapped ? 24 : 0);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, unsigned(img.width));
    Put16(out, unsigned(img.height));
    out.push_back(uint8_t(form.mapped ? 8 : form.bits));
    const int alpha_bits = form.bits == 32 ? 8 : form.bits == 16 ? 1 : 0;
    out.push_back(uint8_t((form.mapped ? 0 : alpha_bits) | (form.top_down ? 0x20 : 0) |
                          (form.right_to_left ? 0x10 : 0)));
    out.insert(out.end(), form.id.begin(), form.id.end());
    for (const Rgba8 &p : palette)
        out.insert(out.end(), {p.b, p.g, p.r});

    std::vector<uint8_t> pixels;
    for (int row = 0; row < img.height; ++row)
        for (int col = 0; col < img.width; ++col) {
            const int y = form.top_down ? row : img.height - 1 - row;
            const int x = form.right_to_left ? img.width - 1 - col : col;
            const Rgba8 p = img.At(x, y);
            if (form.mapped)
                pixels.push_back(
                    uint8_t(std::find(palette.begin(), palette.end(), p) - palette.begin()));
            else if (form.grey)
                pixels.push_back(p.r);
            else if (form.bits == 16)
                Put16(pixels, unsigned((p.a >= 128) << 15 | (p.r >> 3) << 10 | (p.g >> 3) << 5 |
                                       (p.b >> 3)));
            else {
                pixels.insert(pixels.end(), {p.b, p.g, p.r});
                if (form.bits == 32)
                    pixels.push_back(p.a);
            }
        }
    if (!form.rle) {
        out.insert(out.end(), pixels.begin(), pixels.end());
    } else {
        const size_t count = pixels.size() / element;
        for (size_t at = 0; at < count; at += 128) {
            const size_t n = std::min<size_t>(128, count - at);
            out.push_back(uint8_t(n - 1));
            out.insert(out.end(), pixels.begin() + at * element,
                       pixels.begin() + (at + n) * element);
        }
    }
    out.insert(out.end(), form.after.begin(), form.after.end());
    if (form.footer)
        out.insert(out.end(), kFooter, kFooter + sizeof kFooter);
    return out;
}

std::string KindMismatch(const std::vector<uint8_t> &file, const ImageRule &rule) {
    if (file.size() < 18 + 26)
        return "too short";
    const int bpp = rule.bits / 8;
    if (file[0] != 0 || file[1] != 0 || file[2] != rule.type || Le16(file, 12) != rule.width ||
        Le16(file, 14) != rule.height || file[16] != rule.bits ||
        file[17] != (rule.bits == 32 ? 0x08 : 0x00))
        return "header of another kind";
    const bool footer = std::memcmp(&file[file.size() - 26], kFooter, sizeof kFooter) == 0;
    if (footer != rule.footer)
        return rule.footer ? "no footer" : "a footer";
    if (rule.type == 2 &&
        file.size() != 18 + size_t(rule.width) * rule.height * bpp + (rule.footer ? 26 : 0))
        return "length of another image";
    return "";
}

} // namespace payload_test
