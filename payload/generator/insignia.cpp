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

Shape Chevron(double cx, double apexY, double halfWidth, double drop, double thickness) {
    const double t = drop >= 0 ? thickness : -thickness;
    return Polygon({{cx, apexY},
                    {cx + halfWidth, apexY + drop},
                    {cx + halfWidth, apexY + drop + t},
                    {cx, apexY + t},
                    {cx - halfWidth, apexY + drop + t},
                    {cx - halfWidth, apexY + drop}});
}

Shape Rocker(double cx, double y, double halfWidth, double sag, double thickness) {
    // Circle through (cx +- halfWidth, y) and (cx, y + sag).
    const double r = (halfWidth * halfWidth + sag * sag) / (2 * std::abs(sag));
    const Vec2 c{cx, sag > 0 ? y + sag - r : y + sag + r};
    const double spread = std::asin(std::min(1.0, halfWidth / r)) / kRadians;
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

Shape Bar(double cx, double cy, double halfWidth, double halfHeight) {
    return RoundedBox({cx - halfWidth, cy - halfHeight, cx + halfWidth, cy + halfHeight},
                      halfHeight * 0.45);
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

Shape Leaf(Vec2 base, double angleDegrees, double length, double width) {
    const double a = angleDegrees * kRadians;
    const Vec2 dir{std::cos(a), std::sin(a)}, normal{-dir.y, dir.x};
    const Vec2 mid = base + dir * (length / 2);
    // Circles of radius r whose centres sit off the axis so that they cross at both tips.
    const double half = length / 2, w = width / 2;
    const double r = (half * half + w * w) / (2 * w);
    const Vec2 c1 = mid + normal * (r - w), c2 = mid - normal * (r - w);
    return Intersect(Circle(c1, r), Circle(c2, r));
}

Shape Wreath(Vec2 c, double radius, double leafSize, int leavesPerSide, double minWidth) {
    // The stems: arcs from near the bottom up to about ten o'clock and two o'clock.
    Shape wreath = Unite(Stroke(ArcPoints(c, radius, 100, 215, 20), minWidth / 2),
                         Stroke(ArcPoints(c, radius, 80, -35, 20), minWidth / 2));
    for (int i = 0; i < leavesPerSide; ++i) {
        // Angles on the circle (0 right, 90 down) climbing the left branch; the right branch
        // mirrors it. Each leaf points along the branch, tilted outwards.
        const double along = 100 + 112.0 * i / (leavesPerSide - 1);
        const double size = leafSize * (1.0 - 0.25 * i / (leavesPerSide - 1));
        for (const auto &[theta, leafAngle] :
             {std::pair{along, along + 62}, std::pair{180 - along, 118 - along}}) {
            const Vec2 at{c.x + radius * std::cos(theta * kRadians),
                          c.y + radius * std::sin(theta * kRadians)};
            wreath = Unite(wreath, Leaf(at, leafAngle, size, size * 0.5));
        }
    }
    return wreath;
}

Shape Crown(double cx, double baseY, double hw, double h) {
    const double band = h * 0.28;
    Shape crown = Polygon({{cx - hw, baseY},
                           {cx - hw, baseY - h * 0.75},
                           {cx - hw * 0.5, baseY - h * 0.35},
                           {cx, baseY - h},
                           {cx + hw * 0.5, baseY - h * 0.35},
                           {cx + hw, baseY - h * 0.75},
                           {cx + hw, baseY}});
    crown =
        Unite(crown, RoundedBox({cx - hw * 1.05, baseY - band, cx + hw * 1.05, baseY + band * 0.4},
                                band * 0.3));
    const double ball = h * 0.11;
    crown = Unite(crown, Circle({cx - hw, baseY - h * 0.75 - ball}, ball));
    crown = Unite(crown, Circle({cx, baseY - h - ball}, ball * 1.2));
    return Unite(crown, Circle({cx + hw, baseY - h * 0.75 - ball}, ball));
}

Shape CrossedBatons(Vec2 c, double length, double thickness) {
    const double a = 38 * kRadians, h = length / 2;
    const Vec2 d1{std::cos(a) * h, std::sin(a) * h}, d2{-std::cos(a) * h, std::sin(a) * h};
    return Unite(Capsule(c - d1, c + d1, thickness / 2), Capsule(c - d2, c + d2, thickness / 2));
}

} // namespace korvanta::payload
