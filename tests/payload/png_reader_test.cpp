// PNG files as image programs save them: every colour type and bit depth read as the samples
// it stores, whatever the file says of gamma or colour space.

#include "png_forms.h"
#include "png_reader.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include <vector>

using korvanta::payload::DecodedImage;
using korvanta::payload::ReadPng;
using payload_test::PngFixture;
using payload_test::PngForm;
using payload_test::WritePngForm;

namespace {

struct Form {
    std::string what;
    PngForm form;
};

constexpr int kGrey = PNG_COLOR_TYPE_GRAY, kGreyAlpha = PNG_COLOR_TYPE_GRAY_ALPHA,
              kRgb = PNG_COLOR_TYPE_RGB, kRgba = PNG_COLOR_TYPE_RGB_ALPHA,
              kPalette = PNG_COLOR_TYPE_PALETTE;

// Every colour type at every bit depth it allows, with no chunk beyond the pixels.
std::vector<Form> EveryDepth() {
    const struct {
        const char *name;
        int colour;
        std::vector<int> depths;
    } types[] = {{"grey", kGrey, {1, 2, 4, 8, 16}},
                 {"grey and alpha", kGreyAlpha, {8, 16}},
                 {"RGB", kRgb, {8, 16}},
                 {"RGBA", kRgba, {8, 16}},
                 {"palette", kPalette, {1, 2, 4, 8}}};
    std::vector<Form> forms;
    for (const auto &type : types)
        for (int depth : type.depths)
            forms.push_back({std::string(type.name) + ", " + std::to_string(depth) + " bits",
                             {.colour = type.colour, .depth = depth}});
    return forms;
}

// Washed-out colours from 16-bit files: their samples were taken as linear light and
// converted, by up to 72 levels.
TEST(PngReader, TakesTheStoredSamplesOfEveryForm) {
    std::vector<Form> forms = EveryDepth();
    forms.insert(
        forms.end(),
        {
            {"grey, 8 bits, colour key", {.colour = kGrey, .depth = 8, .transparency = true}},
            {"grey, 16 bits, colour key", {.colour = kGrey, .depth = 16, .transparency = true}},
            {"RGB, 8 bits, colour key", {.colour = kRgb, .depth = 8, .transparency = true}},
            {"RGB, 16 bits, colour key", {.colour = kRgb, .depth = 16, .transparency = true}},
            {"palette, 2 bits, transparency",
             {.colour = kPalette, .depth = 2, .transparency = true}},
            {"palette, 8 bits, transparency",
             {.colour = kPalette, .depth = 8, .transparency = true}},
            {"RGB, 8 bits, interlaced", {.colour = kRgb, .depth = 8, .interlaced = true}},
            {"RGBA, 16 bits, interlaced", {.colour = kRgba, .depth = 16, .interlaced = true}},
            {"palette, 4 bits, interlaced, transparency",
             {.colour = kPalette, .depth = 4, .interlaced = true, .transparency = true}},
            {"grey, 16 bits, interlaced, gAMA",
             {.colour = kGrey, .depth = 16, .interlaced = true, .gamma = true}},
            {"RGB, 8 bits, gAMA", {.colour = kRgb, .depth = 8, .gamma = true}},
            {"RGB, 16 bits, gAMA", {.colour = kRgb, .depth = 16, .gamma = true}},
            {"palette, 8 bits, gAMA", {.colour = kPalette, .depth = 8, .gamma = true}},
            {"RGB, 8 bits, sRGB", {.colour = kRgb, .depth = 8, .srgb = true}},
            {"RGBA, 16 bits, sRGB", {.colour = kRgba, .depth = 16, .srgb = true}},
            {"grey and alpha, 16 bits, sRGB", {.colour = kGreyAlpha, .depth = 16, .srgb = true}},
            {"RGB, 16 bits, iCCP", {.colour = kRgb, .depth = 16, .icc = true}},
            {"grey, 8 bits, iCCP", {.colour = kGrey, .depth = 8, .icc = true}},
            {"RGBA, 8 bits, gAMA and iCCP",
             {.colour = kRgba, .depth = 8, .gamma = true, .icc = true}},
        });
    for (const Form &f : forms) {
        SCOPED_TRACE(f.what);
        const PngFixture png = WritePngForm(17, 19, f.form);
        // The file carries the chunks the row asks for, and only those.
        for (const auto &[wanted, chunk] :
             {std::pair{f.form.transparency, "tRNS"}, std::pair{f.form.gamma, "gAMA"},
              std::pair{f.form.srgb, "sRGB"}, std::pair{f.form.icc, "iCCP"}})
            EXPECT_EQ(std::count(png.chunks.begin(), png.chunks.end(), chunk), wanted ? 1 : 0)
                << chunk;
        const DecodedImage read = ReadPng(png.file, 17, 19);
        EXPECT_EQ(read.form, f.form.depth == 16 ? "PNG, 16 bits" : "PNG");
        if (read.image.pixels.size() != png.stored.pixels.size()) {
            ADD_FAILURE() << "not read: " << read.problem;
            continue;
        }
        const auto [got, want] = std::mismatch(read.image.pixels.begin(), read.image.pixels.end(),
                                               png.stored.pixels.begin());
        if (got != read.image.pixels.end())
            ADD_FAILURE() << "pixel " << got - read.image.pixels.begin() << " is " << int(got->r)
                          << "," << int(got->g) << "," << int(got->b) << "," << int(got->a)
                          << ", stored " << int(want->r) << "," << int(want->g) << ","
                          << int(want->b) << "," << int(want->a);
    }
}

} // namespace
