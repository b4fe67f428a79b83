#include "shell/label_logic.h"

#include "base/platform_values.h"

#include <gtest/gtest.h>

namespace korvanta {
namespace {
using namespace win;

TEST(LabelDrawFlags, AlignmentWrapAndVerticalAlignment) {
    struct Case {
        int32_t horizontal;
        bool wrap;
        int32_t vertical;
        uint32_t flags;
    };
    const Case cases[] = {
        // 标签1: left, word wrap, vertical centre (which word wrap overrides: top).
        {0, true, 1, kDtNoClip | kDtWordBreak | kDtVCenter},
        {1, true, 0, kDtNoClip | kDtCenter | kDtWordBreak | kDtVCenter},
        {2, true, 2, kDtNoClip | kDtRight | kDtWordBreak | kDtVCenter},
        {0, false, 0, kDtNoClip | kDtSingleLine | kDtTop},
        {1, false, 1, kDtNoClip | kDtCenter | kDtSingleLine | kDtVCenter},
        {2, false, 2, kDtNoClip | kDtRight | kDtSingleLine | kDtBottom},
        {0, false, 2, kDtNoClip | kDtLeft | kDtSingleLine | kDtBottom},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LabelDrawFlags(c.horizontal, c.wrap, c.vertical), c.flags)
            << c.horizontal << " " << c.wrap << " " << c.vertical;
}

TEST(LabelTextPasses, FourEffects) {
    const uint32_t white = Rgb(255, 255, 255), black = 0;
    using P = std::vector<TextPass>;
    EXPECT_EQ(LabelTextPasses(0), (P{{true, 0, 0, 0}}));
    EXPECT_EQ(LabelTextPasses(1), (P{{false, white, 1, 1}, {true, 0, 0, 0}}));
    EXPECT_EQ(LabelTextPasses(2), (P{{false, white, 0, 0}, {true, 0, 1, 1}}));
    EXPECT_EQ(LabelTextPasses(3), (P{{false, black, 2, 2}, {true, 0, 0, 0}}));
    EXPECT_EQ(LabelTextPasses(7), (P{{true, 0, 0, 0}}));
}

TEST(GradientColour, RunsThroughTheMiddleColour) {
    const Colour frame[3] = {Rgb(0x80, 0x80, 0x80), Rgb(0xFF, 0xFF, 0xFF), Rgb(0x80, 0x80, 0x80)};
    const uint32_t face = Rgb(0xF0, 0xF0, 0xF0);
    // A width of 8: outer ring grey, white towards the middle, grey again inside.
    EXPECT_EQ(GradientColour(frame, face, 0, 8), Rgb(0x80, 0x80, 0x80));
    EXPECT_EQ(GradientColour(frame, face, 3, 8), Rgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(GradientColour(frame, face, 7, 8), Rgb(0x80, 0x80, 0x80));
    uint32_t step1 = GradientColour(frame, face, 1, 8);
    EXPECT_GT(step1 & 0xFF, 0x80u);
    EXPECT_LT(step1 & 0xFF, 0xFFu);

    const Colour channels[3] = {Rgb(0, 0, 0), Rgb(100, 200, 50), Rgb(0, 0, 0)};
    EXPECT_EQ(GradientColour(channels, face, 1, 5), Rgb(50, 100, 25));
    EXPECT_EQ(GradientColour(channels, face, 2, 5), Rgb(100, 200, 50));

    // Default colours stand for the face colour; a span of one is the first colour.
    const Colour defaults[3] = {kDefaultColour, kDefaultColour, Rgb(1, 2, 3)};
    EXPECT_EQ(GradientColour(defaults, face, 0, 3), face);
    EXPECT_EQ(GradientColour(defaults, face, 2, 3), Rgb(1, 2, 3));
    EXPECT_EQ(GradientColour(frame, face, 0, 1), Rgb(0x80, 0x80, 0x80));
}

} // namespace
} // namespace korvanta
