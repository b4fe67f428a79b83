#include "png_reader.h"

#include <png.h>

#include <cstring>
#include <string>

namespace korvanta::payload {

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Owns libpng's reading state, which holds its allocations until freed.
class PngImage {
public:
    PngImage() {
        std::memset(&image_, 0, sizeof image_);
        image_.version = PNG_IMAGE_VERSION;
    }
    PngImage(const PngImage &) = delete;
    PngImage &operator=(const PngImage &) = delete;
    ~PngImage() { png_image_free(&image_); }
    png_image *operator->() { return &image_; }
    png_image *get() { return &image_; }

private:
    png_image image_;
};

} // namespace

bool IsPng(std::span<const uint8_t> file) {
    return file.size() >= sizeof kPngSignature &&
           std::memcmp(file.data(), kPngSignature, sizeof kPngSignature) == 0;
}

DecodedImage ReadPng(std::span<const uint8_t> file, int want_width, int want_height) {
    DecodedImage out;
    out.form = "PNG";
    PngImage png;
    if (!png_image_begin_read_from_memory(png.get(), file.data(), file.size())) {
        out.problem = std::string("not a readable PNG (") + png->message + ")";
        return out;
    }
    out.problem = SizeProblem(int(png->width), int(png->height), want_width, want_height);
    if (!out.problem.empty())
        return out;
    // 8-bit sRGB output keeps straight alpha; only libpng's linear formats premultiply.
    png->format = PNG_FORMAT_RGBA;
    Image img(int(png->width), int(png->height));
    static_assert(sizeof(Rgba8) == 4);
    const bool read = png_image_finish_read(png.get(), nullptr, img.pixels.data(), 0, nullptr);
    if (!read) {
        out.problem = std::string("cut short or damaged PNG (") + png->message + ")";
        return out;
    }
    out.image = std::move(img);
    return out;
}

} // namespace korvanta::payload
