#include "insignia.h"

#include <cmath>
#include <utility>
#include <numbers>

namespace korvanta::payload {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

} // namespace

void DrawMetal(Canvas &canvas, const Shape &part, const Metal &metal) {
    const double edge = canvas.AtLeast(2.2, 0.5);
    canvas.Fill(Grow(part, edge), metal.edge);
    const Box &b = part.Bounds();
    if (canvas.Coarse()) {
        // A bevel one third of a pixel wide only smears; a lighter face reads better.
        canvas.Fill(part, VerticalGradient(b.y0, Lighter(metal.light, 0.3), b.y1,
                                           Mix(metal.light, metal.dark, 0.6)));
        return;
    }
    canvas.Fill(part, VerticalGradient(b.y0, metal.light, b.y1, metal.dark));
    const double d = canvas.AtLeast(1.6, 0.35);
    canvas.Fill(Subtract(part, Move(part, {d, d})), WithAlpha(Lighter(metal.light, 0.6), 0.7));
    canvas.Fill(Subtract(part, Move(part, {-d, -d})), WithAlpha(Darker(metal.dark, 0.4), 0.5));
}

Shape Chevron(double cx, double apex_y, double half_width, double drop, double thickness) {
    const double t = drop >= 0 ? thickness : -thickness;
    return Polygon({{cx, apex_y},
                    {cx + half_width, apex_y + drop},
                    {cx + half_width, apex_y + drop + t},
                    {cx, apex_y + t},
                    {cx - half_width, apex_y + drop + t},
                    {cx - half_width, apex_y + drop}});
}

Shape Rocker(double cx, double y, double half_width, double sag, double thickness) {
    // Circle through (cx +- half_width, y) and (cx, y + sag).
    const double r = (half_width * half_width + sag * sag) / (2 * std::abs(sag));
    const Vec2 c{cx, sag > 0 ? y + sag - r : y + sag + r};
    const double spread = std::asin(std::min(1.0, half_width / r)) / kRadians;
    const double mid = sag > 0 ? 90 : -90;
    return Stroke(ArcPoints(c, r, mid - spread, mid + spread, 24), thickness / 2);
}

Shape HeaterShield(double left, double top, double right, double shoulder, double tip) {
    // Each arc is centred on the shoulder line, far enough out that it leaves the side
    // vertically and reaches the point.
    const double half = (right - left) / 2, fall = tip - shoulder;
    const double r = (half * half + fall * fall) / (2 * half);
    const Shape point =
        Intersect(Circle({right - r, shoulder}, r), Circle({left + r, shoulder}, r));
    // The two parts overlap by more than a rim is wide, so a shrunken field has no seam.
    return Unite(Intersect(point, HalfPlaneBelow(shoulder - 20)),
                 RoundedBox({left, top, right, shoulder}, 1.5));
}

Shape Bar(double cx, double cy, double half_width, double half_height) {
    return RoundedBox({cx - half_width, cy - half_height, cx + half_width, cy + half_height},
                      half_height * 0.45);
}

Shape Star(Vec2 c, double radius, int points) {
    return Polygon(StarPoints(c, radius, radius * (points == 5 ? 0.42 : 0.5), points));
}

Shape Diamond(Vec2 c, double hw, double hh) {
    return Polygon({{c.x, c.y - hh}, {c.x + hw, c.y}, {c.x, c.y + hh}, {c.x - hw, c.y}});
}

Shape Rosette(Vec2 c, double radius) {
    return Unite(Polygon(StarPoints(c, radius, radius * 0.62, 8, 22.5)), Circle(c, radius * 0.5));
}

Shape Leaf(Vec2 base, double angle_degrees, double length, double width) {
    const double a = angle_degrees * kRadians;
    const Vec2 dir{std::cos(a), std::sin(a)}, normal{-dir.y, dir.x};
    const Vec2 mid = base + dir * (length / 2);
    // Circles of radius r whose centres sit off the axis so that they cross at both tips.
    const double half = length / 2, w = width / 2;
    const double r = (half * half + w * w) / (2 * w);
    const Vec2 c1 = mid + normal * (r - w), c2 = mid - normal * (r - w);
    return Intersect(Circle(c1, r), Circle(c2, r));
}

Shape Wreath(Vec2 c, double radius, double leaf_size, int leaves_per_side, double min_width) {
    // The stems: arcs from near the bottom up to about ten o'clock and two o'clock.
    Shape wreath = Unite(Stroke(ArcPoints(c, radius, 100, 215, 20), min_width / 2),
                         Stroke(ArcPoints(c, radius, 80, -35, 20), min_width / 2));
    for (int i = 0; i < leaves_per_side; ++i) {
        // Angles on the circle (0 right, 90 down) climbing the left branch; the right branch
        // mirrors it. Each leaf points along the branch, tilted outwards.
        const double along = 100 + 112.0 * i / (leaves_per_side - 1);
        const double size = leaf_size * (1.0 - 0.25 * i / (leaves_per_side - 1));
        for (const auto &[theta, leaf_angle] :
             {std::pair{along, along + 62}, std::pair{180 - along, 118 - along}}) {
            const Vec2 at{c.x + radius * std::cos(theta * kRadians),
                          c.y + radius * std::sin(theta * kRadians)};
            wreath = Unite(wreath, Leaf(at, leaf_angle, size, size * 0.5));
        }
    }
    return wreath;
}

Shape Crown(double cx, double base_y, double hw, double h) {
    const double band = h * 0.28;
    Shape crown = Polygon({{cx - hw, base_y},
                           {cx - hw, base_y - h * 0.75},
                           {cx - hw * 0.5, base_y - h * 0.35},
                           {cx, base_y - h},
                           {cx + hw * 0.5, base_y - h * 0.35},
                           {cx + hw, base_y - h * 0.75},
                           {cx + hw, base_y}});
    crown = Unite(crown,
                  RoundedBox({cx - hw * 1.05, base_y - band, cx + hw * 1.05, base_y + band * 0.4},
                             band * 0.3));
    const double ball = h * 0.11;
    crown = Unite(crown, Circle({cx - hw, base_y - h * 0.75 - ball}, ball));
    crown = Unite(crown, Circle({cx, base_y - h - ball}, ball * 1.2));
    return Unite(crown, Circle({cx + hw, base_y - h * 0.75 - ball}, ball));
}

Shape CrossedBatons(Vec2 c, double length, double thickness) {
    const double a = 38 * kRadians, h = length / 2;
    const Vec2 d1{std::cos(a) * h, std::sin(a) * h}, d2{-std::cos(a) * h, std::sin(a) * h};
    return Unite(Capsule(c - d1, c + d1, thickness / 2), Capsule(c - d2, c + d2, thickness / 2));
}

} // namespace korvanta::payload
