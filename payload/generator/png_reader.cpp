#include "png_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

namespace korvanta::payload {

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The bytes libpng reads from, and the last error it raised.
struct PngSource {
    std::span<const uint8_t> file;
    size_t at = 0;
    std::string error;
};

void OnError(png_structp png, png_const_charp message) {
    static_cast<PngSource *>(png_get_error_ptr(png))->error = message;
    png_longjmp(png, 1);
}

// A damaged ancillary chunk or extra data after the pixels is no reason to refuse the picture,
// nor to print anything.
void OnWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, size_t count) {
    PngSource &source = *static_cast<PngSource *>(png_get_io_ptr(png));
    if (source.file.size() - source.at < count)
        png_error(png, "the file ends early");
    std::memcpy(out, source.file.data() + source.at, count);
    source.at += count;
}

// Owns libpng's reading state.
class PngReadState {
public:
    explicit PngReadState(PngSource &source)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnError, OnWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {
        if (png_)
            png_set_read_fn(png_, &source, ReadFromMemory);
    }
    PngReadState(const PngReadState &) = delete;
    PngReadState &operator=(const PngReadState &) = delete;
    ~PngReadState() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    bool ok() const { return png_ && info_; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

// libpng reports errors by a long jump back to the setjmp of these two functions, which
// therefore hold no object that needs destroying.

bool ReadHeader(png_structp png, png_infop info, png_uint_32 &width, png_uint_32 &height,
                int &bit_depth) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    // Every chunk but the header, palette, transparency and pixels is skipped unread. An
    // icon's stored values are what the game draws, so no profile or gamma of the image
    // program that saved it (gAMA, sRGB, iCCP, cHRM) may shift a colour, and no text or
    // metadata is unpacked.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    bit_depth = png_get_bit_depth(png, info);
    return true;
}

// Every colour type and depth as 8-bit straight RGBA of the stored samples: a palette by its
// colours, grey below 8 bits widened to the full range, a tRNS chunk as alpha, and a 16-bit
// sample by its high byte, as a file saved from 8-bit values (v × 257) gives them back.
bool ReadPixels(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != 4 * png_get_image_width(png, info))
        png_error(png, "no RGBA form of its pixels");
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

} // namespace

bool IsPng(std::span<const uint8_t> file) {
    return file.size() >= sizeof kPngSignature &&
           std::memcmp(file.data(), kPngSignature, sizeof kPngSignature) == 0;
}

DecodedImage ReadPng(std::span<const uint8_t> file, int want_width, int want_height) {
    DecodedImage out;
    out.form = "PNG";
    PngSource source{file};
    PngReadState state(source);
    png_uint_32 width = 0, height = 0;
    int bit_depth = 0;
    if (!state.ok() || !ReadHeader(state.png(), state.info(), width, height, bit_depth)) {
        out.problem = "not a readable PNG (" + source.error + ")";
        return out;
    }
    if (bit_depth == 16)
        out.form = "PNG, 16 bits";
    out.problem = SizeProblem(int(width), int(height), want_width, want_height);
    if (!out.problem.empty())
        return out;
    Image img(static_cast<int>(width), static_cast<int>(height));
    static_assert(sizeof(Rgba8) == 4);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(&img.At(0, int(y)));
    if (!ReadPixels(state.png(), state.info(), rows.data())) {
        out.problem = "cut short or damaged PNG (" + source.error + ")";
        return out;
    }
    out.image = std::move(img);
    return out;
}

} // namespace korvanta::payload
