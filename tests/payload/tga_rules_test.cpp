// Every image of both sets against the rules of its name: header fields, pixel data that
// decodes to exactly width x height pixels, and the footer rule.

#include "archive_rules.h"
#include "zip_parse.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

using namespace payload_test;

namespace {

struct Decoded {
    std::string error;    // empty if the pixel data walked cleanly
    size_t pixelsEnd = 0; // offset just past the pixel data
    std::vector<uint8_t> alpha;
};

// Walks the pixel data, packet by packet for run-length images.
Decoded WalkPixels(const std::vector<uint8_t> &f, int type, size_t pixels, int bpp) {
    Decoded d;
    size_t at = 18;
    auto take = [&](size_t from) {
        if (bpp == 4)
            d.alpha.push_back(f[from + 3]);
    };
    if (type == 2) {
        if (f.size() < at + pixels * bpp) {
            d.error = "pixel data cut short";
            return d;
        }
        for (size_t i = 0; i < pixels; ++i)
            take(at + i * bpp);
        d.pixelsEnd = at + pixels * bpp;
        return d;
    }
    size_t done = 0;
    while (done < pixels) {
        if (at >= f.size()) {
            d.error = "packets end after " + std::to_string(done) + " pixels";
            return d;
        }
        const uint8_t head = f[at++];
        const size_t count = (head & 0x7F) + 1u;
        if (done + count > pixels) {
            d.error = "a packet runs past the last pixel";
            return d;
        }
        const size_t bytes = head & 0x80 ? bpp : count * bpp;
        if (at + bytes > f.size()) {
            d.error = "a packet is cut short";
            return d;
        }
        for (size_t i = 0; i < count; ++i)
            take(at + (head & 0x80 ? 0 : i * bpp));
        at += bytes;
        done += count;
    }
    d.pixelsEnd = at;
    return d;
}

class TgaRules : public testing::TestWithParam<bool> {
protected:
    const std::map<std::string, std::vector<uint8_t>> files = UnpackedSet(GetParam());
};

TEST_P(TgaRules, HeadersMatchTheRuleOfEachName) {
    ASSERT_EQ(files.size(), GetParam() ? 324u : 322u);
    int images = 0;
    for (const auto &[leaf, f] : files) {
        const auto rule = RuleFor(GetParam(), leaf);
        if (!rule)
            continue;
        SCOPED_TRACE(leaf);
        ++images;
        ASSERT_GE(f.size(), 18u);
        EXPECT_EQ(f[0], 0); // no image ID
        EXPECT_EQ(f[1], 0); // no colour map
        EXPECT_EQ(f[2], rule->type);
        for (int i = 3; i < 8; ++i)
            EXPECT_EQ(f[i], 0) << "colour-map specification byte " << i;
        EXPECT_EQ(Le16(f, 8), 0);
        EXPECT_EQ(Le16(f, 10), 0);
        EXPECT_EQ(Le16(f, 12), rule->width);
        EXPECT_EQ(Le16(f, 14), rule->height);
        EXPECT_EQ(f[16], rule->bits);
        EXPECT_EQ(f[17], rule->bits == 32 ? 0x08 : 0x00); // bottom-up, alpha bits
    }
    EXPECT_EQ(images, GetParam() ? 323 : 321);
}

TEST_P(TgaRules, PixelDataDecodesExactlyAndTheFooterRuleHolds) {
    static const char signature[] = "TRUEVISION-XFILE.";
    for (const auto &[leaf, f] : files) {
        const auto rule = RuleFor(GetParam(), leaf);
        if (!rule)
            continue;
        SCOPED_TRACE(leaf);
        const size_t pixels = size_t(rule->width) * rule->height;
        const Decoded d = WalkPixels(f, rule->type, pixels, rule->bits / 8);
        ASSERT_EQ(d.error, "");
        if (!rule->footer) {
            EXPECT_EQ(d.pixelsEnd, f.size()) << "must end with its last packet";
            continue;
        }
        ASSERT_EQ(d.pixelsEnd + 26, f.size());
        EXPECT_EQ(Le32(f, d.pixelsEnd), 0u);     // no extension area
        EXPECT_EQ(Le32(f, d.pixelsEnd + 4), 0u); // no developer directory
        EXPECT_EQ(std::memcmp(&f[d.pixelsEnd + 8], signature, sizeof signature), 0);
        if (rule->type == 2) {
            EXPECT_EQ(f.size(), 18 + pixels * (rule->bits / 8) + 26);
        }
    }
}

TEST_P(TgaRules, ImagesWithAlphaUseIt) {
    for (const auto &[leaf, f] : files) {
        const auto rule = RuleFor(GetParam(), leaf);
        if (!rule || rule->bits != 32)
            continue;
        SCOPED_TRACE(leaf);
        const Decoded d = WalkPixels(f, rule->type, size_t(rule->width) * rule->height, 4);
        ASSERT_EQ(d.error, "");
        // Drawn on a see-through ground: some pixels fully clear, some not.
        EXPECT_GT(std::count(d.alpha.begin(), d.alpha.end(), 0), 0);
        EXPECT_GT(std::count_if(d.alpha.begin(), d.alpha.end(), [](uint8_t a) { return a > 0; }),
                  0);
    }
}

INSTANTIATE_TEST_SUITE_P(BothSets, TgaRules, testing::Bool(),
                         [](const auto &p) { return p.param ? "Stock" : "Foreign"; });

} // namespace
