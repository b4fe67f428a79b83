#pragma once
// Filled shapes as signed distance fields (negative inside) with a bounding box. The fields
// of the combinators are conservative: their magnitude never exceeds the true distance,
// which is what lets the canvas skip supersampling away from edges.

#include <functional>
#include <vector>

namespace korvanta::payload {

struct Vec2 {
    double x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, double s) {
    return {a.x * s, a.y * s};
}

struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class Shape {
public:
    using Field = std::function<double(Vec2)>;
    Shape(Box bounds, Field field) : bounds_(bounds), field_(std::move(field)) {}
    double Distance(Vec2 p) const { return field_(p); }
    const Box &Bounds() const { return bounds_; }

private:
    Box bounds_;
    Field field_;
};

Shape Circle(Vec2 centre, double radius);
Shape Capsule(Vec2 a, Vec2 b, double radius);
// A stroke along the points with round joins and caps.
Shape Stroke(const std::vector<Vec2> &points, double half_width);
// Any simple or self-touching polygon, nonzero winding.
Shape Polygon(const std::vector<Vec2> &points);
Shape RoundedBox(Box box, double radius);
Shape HalfPlaneBelow(double y); // everything with a larger y (further down)

Shape Unite(const Shape &a, const Shape &b);
Shape Intersect(const Shape &a, const Shape &b);
Shape Subtract(const Shape &a, const Shape &b);
Shape Grow(const Shape &s, double by); // negative shrinks
Shape Move(const Shape &s, Vec2 by);
Shape FlipVertical(const Shape &s, double axis_y); // mirror image across y = axis_y

// Points of helper outlines.
std::vector<Vec2> StarPoints(Vec2 centre, double outer, double inner, int points,
                             double turn_degrees = 0);
std::vector<Vec2> ArcPoints(Vec2 centre, double radius, double from_degrees, double to_degrees,
                            int segments); // 0 degrees points right, 90 down

} // namespace korvanta::payload
