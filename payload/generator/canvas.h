#pragma once
// A floating-point RGBA canvas that fills shapes with anti-aliased edges. Drawing happens in
// design units; the design box is scaled uniformly into the pixel grid and centred.

#include "image.h"
#include "shape.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace korvanta::payload {

struct Colour {
    float r = 0, g = 0, b = 0, a = 1; // straight alpha, 0..1
};

// 0xRRGGBB with an alpha of 0..1.
Colour Hex(uint32_t rgb, float alpha = 1.0f);
Colour Mix(Colour a, Colour b, double t);
Colour Lighter(Colour c, double t); // towards white
Colour Darker(Colour c, double t);  // towards black
Colour WithAlpha(Colour c, double alpha);

using Paint = std::function<Colour(Vec2)>;
Paint Solid(Colour c);
Paint VerticalGradient(double y0, Colour top, double y1, Colour bottom);
Paint RadialGradient(Vec2 centre, double radius, Colour inner, Colour outer);

class Canvas {
public:
    Canvas(int width, int height, double design_width, double design_height);

    void Fill(const Shape &shape, const Paint &paint, double opacity = 1.0);
    void Fill(const Shape &shape, Colour c) { Fill(shape, Solid(c)); }

    // Design units covered by one pixel: strokes thinner than this blur away.
    double Pixel() const { return 1.0 / scale_; }
    // A length of at least the given number of pixels.
    double AtLeast(double units, double pixels) const;
    // Icons this coarse get flat faces and pixel-aligned details instead of bevels.
    bool Coarse() const { return Pixel() > 2.0; }
    // The centre of the pixel the point falls in.
    Vec2 SnapToPixel(Vec2 p) const;

    Image ToImage() const;

private:
    struct Premultiplied {
        float r = 0, g = 0, b = 0, a = 0;
    };
    int width_, height_;
    double scale_, offset_x_, offset_y_;
    std::vector<Premultiplied> px_;
};

} // namespace korvanta::payload
