#include "emblem_art.h"

#include "canvas.h"
#include "insignia.h"
#include "rank_art.h"

#include <cmath>
#include <numbers>

namespace korvanta::payload {

namespace {

const Metal kGoldTrim{Hex(0xFFEE9E), Hex(0xB97A12), Hex(0x1A0E02, 0.9f)};
const Metal kSilverTrim{Hex(0xF4F6F8), Hex(0x8A939E), Hex(0x0C1016, 0.9f)};

// The overlays sit on badges of either set, so they follow a neutral rounded outline.
Shape OverlayOutline() {
    return RoundedBox({8, 5, 92, 107}, 22);
}

} // namespace

Image DrawNoRank(int width, int height) {
    Canvas cv(width, height, kBadgeWidth, kBadgeHeight);
    const Shape disc = Circle({50, 56}, 40);
    cv.Fill(Grow(disc, cv.AtLeast(1.5, 0.5)), Hex(0x000000, 0.6f));
    cv.Fill(disc, VerticalGradient(16, Hex(0x5A6068, 0.85f), 96, Hex(0x2A2E34, 0.85f)));
    const Shape ring = Subtract(disc, Grow(disc, -cv.AtLeast(5, 1.0)));
    DrawMetal(cv, ring, kSilverTrim);
    DrawMetal(cv, Bar(50, 56, 22, cv.AtLeast(5, 1.0)), kSilverTrim);
    return cv.ToImage();
}

Image DrawPayUser(int width, int height) {
    Canvas cv(width, height, kBadgeWidth, kBadgeHeight);
    // A gold coin holding a cut gem.
    const Shape coin = Circle({50, 58}, 42);
    DrawMetal(cv, coin, kGoldTrim);
    cv.Fill(Grow(coin, -cv.AtLeast(8, 1.3)),
            VerticalGradient(16, Hex(0xD89A26), 100, Hex(0x8A5608)));
    const Shape gem = Polygon({{30, 46}, {40, 34}, {60, 34}, {70, 46}, {50, 80}});
    cv.Fill(Grow(gem, cv.AtLeast(2, 0.6)), Hex(0x1A0C02, 0.9f));
    cv.Fill(gem, VerticalGradient(34, Hex(0xC8F4FF), 80, Hex(0x2A88D8)));
    cv.Fill(Polygon({{30, 46}, {70, 46}, {50, 80}}), Hex(0x0A3A7A, 0.35f));
    cv.Fill(Polygon({{40, 34}, {50, 46}, {30, 46}}), Hex(0xFFFFFF, 0.45f));
    return cv.ToImage();
}

Image DrawGreenCommunity(int width, int height) {
    Canvas cv(width, height, kBadgeWidth, kBadgeHeight);
    // A green disc with a sprouting leaf pair.
    const Shape disc = Circle({50, 58}, 42);
    cv.Fill(Grow(disc, cv.AtLeast(1.5, 0.5)), Hex(0x000000, 0.7f));
    cv.Fill(disc, VerticalGradient(16, Hex(0x7EE06A), 100, Hex(0x1E7A2A)));
    cv.Fill(Subtract(disc, Grow(disc, -cv.AtLeast(4, 0.9))), Hex(0xE8FFD8, 0.8f));
    const Colour leaf = Hex(0xF4FFEC);
    cv.Fill(Capsule({50, 84}, {50, 50}, cv.AtLeast(3, 0.7)), leaf);
    cv.Fill(Leaf({51, 62}, -38, 34, 17), leaf);
    cv.Fill(Leaf({49, 70}, -148, 28, 14), leaf);
    return cv.ToImage();
}

Image DrawReject(int width, int height) {
    Canvas cv(width, height, kBadgeWidth, kBadgeHeight);
    // A red prohibition ring with its slash.
    const Vec2 c{50, 56};
    const double r = 40, w = cv.AtLeast(11, 2.0);
    const Shape ring = Subtract(Circle(c, r), Circle(c, r - w));
    const Shape slash = Intersect(Capsule({24, 30}, {76, 82}, w / 2), Circle(c, r - w / 2));
    const Shape sign = Unite(ring, slash);
    cv.Fill(Circle(c, r - w), Hex(0x000000, 0.35f));
    cv.Fill(Grow(sign, cv.AtLeast(2, 0.6)), Hex(0x200000, 0.9f));
    cv.Fill(sign, VerticalGradient(16, Hex(0xFF6A5A), 96, Hex(0xB01010)));
    return cv.ToImage();
}

Image DrawAllEffFrame(int frame, int width, int height) {
    Canvas cv(width, height, kBadgeWidth, kBadgeHeight);
    // One breath of light: swells for half the frames, fades for the rest.
    const double phase = std::sin(std::numbers::pi * (frame + 0.5) / kAllEffFrames);
    const Shape outline = OverlayOutline();
    const Colour glow = Hex(0xFFE070);
    const int layers = 4;
    for (int i = layers; i >= 1; --i) {
        const double spread = cv.AtLeast(2.2, 0.5) * i * (0.6 + 0.6 * phase);
        cv.Fill(Subtract(Grow(outline, spread), Grow(outline, -spread)),
                WithAlpha(glow, 0.16 + 0.22 * phase));
    }
    cv.Fill(Subtract(outline, Grow(outline, -cv.AtLeast(2.5, 0.7))),
            WithAlpha(Lighter(glow, 0.5), 0.45 + 0.5 * phase));
    // Four sparkles ride around the rim as the glow breathes.
    for (int k = 0; k < 4; ++k) {
        const double a = (k * 90.0 + frame * 15.0) * std::numbers::pi / 180.0;
        const Vec2 at{50 + 44 * std::cos(a), 56 + 52 * std::sin(a)};
        cv.Fill(Polygon(StarPoints(at, cv.AtLeast(9, 2.0) * (0.5 + 0.5 * phase), 2.2, 4)),
                WithAlpha(Hex(0xFFFFF0), 0.95));
    }
    return cv.ToImage();
}

Image DrawLineEffFrame(int frame, int width, int height) {
    Canvas cv(width, height, kBadgeWidth, kBadgeHeight);
    const Shape outline = OverlayOutline();
    // A slanted band crossing from upper left to lower right, leaving before the last frame
    // so that the loop starts from rest.
    const double travel = 22 + 140.0 * frame / (kLineEffFrames - 1);
    const double slant = 0.6, half_width = cv.AtLeast(9, 2.0);
    auto band = [&](double hw) {
        return Polygon({{travel - hw, -10},
                        {travel + hw, -10},
                        {travel + hw - slant * 130, 120},
                        {travel - hw - slant * 130, 120}});
    };
    cv.Fill(Intersect(outline, band(half_width * 2.2)), Hex(0xFFF4C0, 0.28f));
    cv.Fill(Intersect(outline, band(half_width)), Hex(0xFFFFF4, 0.75f));
    cv.Fill(Subtract(outline, Grow(outline, -cv.AtLeast(2, 0.6))), Hex(0xFFE070, 0.25f));
    return cv.ToImage();
}

Image DrawProgramIcon() {
    const int n = kProgramIconSize;
    Canvas cv(n, n, 100, 100);
    cv.Fill(RoundedBox({-1, -1, 101, 101}, 0),
            RadialGradient({50, 40}, 80, Hex(0x24324E), Hex(0x05080F)));
    const Shape badge = HeaterShield(14, 8, 86, 48, 95);
    cv.Fill(Grow(badge, 2), Hex(0x000000, 0.8f));
    DrawMetal(cv, badge, kGoldTrim);
    cv.Fill(Grow(badge, -5), VerticalGradient(8, Hex(0x2A4A92), 95, Hex(0x0C1838)));
    DrawMetal(cv, Star({50, 29}, 14), kGoldTrim);
    DrawMetal(cv, Unite(Chevron(50, 46, 24, 14, 7), Chevron(50, 58, 24, 14, 7)), kGoldTrim);
    return Flatten(cv.ToImage(), {0, 0, 0, 255});
}

} // namespace korvanta::payload
