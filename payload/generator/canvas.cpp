#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace korvanta::payload {

namespace {

constexpr int kSamples = 4; // per axis, at pixels an edge passes through

float Lerp(float a, float b, double t) {
    return static_cast<float>(a + (b - a) * t);
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

} // namespace

Colour Hex(uint32_t rgb, float alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f,
            alpha};
}

Colour Mix(Colour a, Colour b, double t) {
    return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t), Lerp(a.a, b.a, t)};
}

Colour Lighter(Colour c, double t) {
    return Mix(c, {1, 1, 1, c.a}, t);
}
Colour Darker(Colour c, double t) {
    return Mix(c, {0, 0, 0, c.a}, t);
}
Colour WithAlpha(Colour c, double alpha) {
    return {c.r, c.g, c.b, static_cast<float>(alpha)};
}

Paint Solid(Colour c) {
    return [c](Vec2) { return c; };
}

Paint VerticalGradient(double y0, Colour top, double y1, Colour bottom) {
    return [=](Vec2 p) { return Mix(top, bottom, std::clamp((p.y - y0) / (y1 - y0), 0.0, 1.0)); };
}

Paint RadialGradient(Vec2 c, double radius, Colour inner, Colour outer) {
    return [=](Vec2 p) {
        const double d = std::hypot(p.x - c.x, p.y - c.y) / radius;
        return Mix(inner, outer, std::clamp(d, 0.0, 1.0));
    };
}

Canvas::Canvas(int width, int height, double design_width, double design_height)
    : width_(width), height_(height),
      scale_(std::min(width / design_width, height / design_height)),
      offset_x_((width - design_width * scale_) / 2),
      offset_y_((height - design_height * scale_) / 2), px_(size_t(width) * height) {}

double Canvas::AtLeast(double units, double pixels) const {
    return std::max(units, pixels * Pixel());
}

Vec2 Canvas::SnapToPixel(Vec2 p) const {
    const double px = std::floor(p.x * scale_ + offset_x_) + 0.5;
    const double py = std::floor(p.y * scale_ + offset_y_) + 0.5;
    return {(px - offset_x_) / scale_, (py - offset_y_) / scale_};
}

void Canvas::Fill(const Shape &shape, const Paint &paint, double opacity) {
    const Box &b = shape.Bounds();
    const int x0 = std::max(0, int(std::floor(b.x0 * scale_ + offset_x_)) - 1);
    const int y0 = std::max(0, int(std::floor(b.y0 * scale_ + offset_y_)) - 1);
    const int x1 = std::min(width_, int(std::ceil(b.x1 * scale_ + offset_x_)) + 1);
    const int y1 = std::min(height_, int(std::ceil(b.y1 * scale_ + offset_y_)) + 1);
    const double half_diagonal = 0.7072 * Pixel();
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Vec2 centre{(x + 0.5 - offset_x_) / scale_, (y + 0.5 - offset_y_) / scale_};
            const double d = shape.Distance(centre);
            if (d >= half_diagonal)
                continue;
            double coverage = 1.0;
            if (d > -half_diagonal) {
                int inside = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const Vec2 s{centre.x + ((sx + 0.5) / kSamples - 0.5) * Pixel(),
                                     centre.y + ((sy + 0.5) / kSamples - 0.5) * Pixel()};
                        inside += shape.Distance(s) < 0 ? 1 : 0;
                    }
                coverage = double(inside) / (kSamples * kSamples);
            }
            if (coverage <= 0)
                continue;
            const Colour c = paint(centre);
            const float a = static_cast<float>(c.a * coverage * opacity);
            Premultiplied &p = px_[size_t(y) * width_ + x];
            p.r = c.r * a + p.r * (1 - a);
            p.g = c.g * a + p.g * (1 - a);
            p.b = c.b * a + p.b * (1 - a);
            p.a = a + p.a * (1 - a);
        }
    }
}

Image Canvas::ToImage() const {
    Image img(width_, height_);
    for (size_t i = 0; i < px_.size(); ++i) {
        const Premultiplied &p = px_[i];
        if (p.a <= 0.5f / 255.0f)
            continue; // fully transparent pixels stay all zero, which keeps the runs long
        img.pixels[i] = {ToByte(p.r / p.a), ToByte(p.g / p.a), ToByte(p.b / p.a), ToByte(p.a)};
    }
    return img;
}

} // namespace korvanta::payload
