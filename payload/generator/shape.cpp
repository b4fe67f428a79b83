#include "shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvanta::payload {

namespace {

double Dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
double Length(Vec2 a) {
    return std::sqrt(Dot(a, a));
}

double SegmentDistanceSquared(Vec2 p, Vec2 a, Vec2 b) {
    const Vec2 pa = p - a, ba = b - a;
    const double len2 = Dot(ba, ba);
    const double h = len2 > 0 ? std::clamp(Dot(pa, ba) / len2, 0.0, 1.0) : 0.0;
    const Vec2 off = pa - ba * h;
    return Dot(off, off);
}

double SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
    return std::sqrt(SegmentDistanceSquared(p, a, b));
}

Box BoundsOf(const std::vector<Vec2> &pts, double margin) {
    Box b{1e9, 1e9, -1e9, -1e9};
    for (Vec2 p : pts) {
        b.x0 = std::min(b.x0, p.x);
        b.y0 = std::min(b.y0, p.y);
        b.x1 = std::max(b.x1, p.x);
        b.y1 = std::max(b.y1, p.y);
    }
    return {b.x0 - margin, b.y0 - margin, b.x1 + margin, b.y1 + margin};
}

Box UnionBox(const Box &a, const Box &b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

Box IntersectBox(const Box &a, const Box &b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

constexpr double kRadians = std::numbers::pi / 180.0;

// Distance from p to the box, 0 inside it: a lower bound of the distance to anything in it.
double BoxDistance(const Box &b, Vec2 p) {
    const double dx = std::max({b.x0 - p.x, 0.0, p.x - b.x1});
    const double dy = std::max({b.y0 - p.y, 0.0, p.y - b.y1});
    return dx == 0 || dy == 0 ? dx + dy : std::sqrt(dx * dx + dy * dy);
}

} // namespace

Shape Circle(Vec2 c, double r) {
    return Shape({c.x - r, c.y - r, c.x + r, c.y + r},
                 [c, r](Vec2 p) { return Length(p - c) - r; });
}

Shape Capsule(Vec2 a, Vec2 b, double r) {
    return Shape(BoundsOf({a, b}, r), [a, b, r](Vec2 p) { return SegmentDistance(p, a, b) - r; });
}

Shape Stroke(const std::vector<Vec2> &pts, double half_width) {
    return Shape(BoundsOf(pts, half_width), [pts, half_width](Vec2 p) {
        double d2 = 1e18;
        for (size_t i = 0; i + 1 < pts.size(); ++i)
            d2 = std::min(d2, SegmentDistanceSquared(p, pts[i], pts[i + 1]));
        return std::sqrt(d2) - half_width;
    });
}

Shape Polygon(const std::vector<Vec2> &pts) {
    return Shape(BoundsOf(pts, 0), [pts](Vec2 p) {
        double d2 = 1e18;
        int winding = 0;
        for (size_t i = 0, n = pts.size(); i < n; ++i) {
            const Vec2 a = pts[i], b = pts[(i + 1) % n];
            d2 = std::min(d2, SegmentDistanceSquared(p, a, b));
            const double cross = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
            if (a.y <= p.y && b.y > p.y && cross > 0)
                ++winding;
            else if (a.y > p.y && b.y <= p.y && cross < 0)
                --winding;
        }
        const double d = std::sqrt(d2);
        return winding != 0 ? -d : d;
    });
}

Shape RoundedBox(Box box, double r) {
    const Vec2 c{(box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2};
    const Vec2 half{(box.x1 - box.x0) / 2 - r, (box.y1 - box.y0) / 2 - r};
    return Shape(box, [c, half, r](Vec2 p) {
        const Vec2 q{std::abs(p.x - c.x) - half.x, std::abs(p.y - c.y) - half.y};
        const Vec2 outside{std::max(q.x, 0.0), std::max(q.y, 0.0)};
        return Length(outside) + std::min(std::max(q.x, q.y), 0.0) - r;
    });
}

Shape HalfPlaneBelow(double y) {
    return Shape({-1e4, y, 1e4, 1e4}, [y](Vec2 p) { return y - p.y; });
}

Shape Unite(const Shape &a, const Shape &b) {
    return Shape(UnionBox(a.Bounds(), b.Bounds()), [a, b](Vec2 p) {
        // Nearer box first. The other part cannot come closer than its box, and when the
        // point lies outside that box the first part alone decides; inside it, both count,
        // so that depths stay right where the parts overlap (shrinking needs them).
        const double box_a = BoxDistance(a.Bounds(), p), box_b = BoxDistance(b.Bounds(), p);
        const Shape &first = box_a <= box_b ? a : b;
        const double other_box = box_a <= box_b ? box_b : box_a;
        const double d = first.Distance(p);
        if (other_box > 0 && (d <= 0 || other_box >= d))
            return d;
        return std::min(d, (box_a <= box_b ? b : a).Distance(p));
    });
}

Shape Intersect(const Shape &a, const Shape &b) {
    return Shape(IntersectBox(a.Bounds(), b.Bounds()),
                 [a, b](Vec2 p) { return std::max(a.Distance(p), b.Distance(p)); });
}

Shape Subtract(const Shape &a, const Shape &b) {
    return Shape(a.Bounds(), [a, b](Vec2 p) { return std::max(a.Distance(p), -b.Distance(p)); });
}

Shape Grow(const Shape &s, double by) {
    const Box b = s.Bounds();
    return Shape({b.x0 - by, b.y0 - by, b.x1 + by, b.y1 + by},
                 [s, by](Vec2 p) { return s.Distance(p) - by; });
}

Shape Move(const Shape &s, Vec2 by) {
    const Box b = s.Bounds();
    return Shape({b.x0 + by.x, b.y0 + by.y, b.x1 + by.x, b.y1 + by.y},
                 [s, by](Vec2 p) { return s.Distance(p - by); });
}

Shape FlipVertical(const Shape &s, double axis_y) {
    const Box b = s.Bounds();
    return Shape({b.x0, 2 * axis_y - b.y1, b.x1, 2 * axis_y - b.y0}, [s, axis_y](Vec2 p) {
        return s.Distance({p.x, 2 * axis_y - p.y});
    });
}

std::vector<Vec2> StarPoints(Vec2 c, double outer, double inner, int points, double turn) {
    std::vector<Vec2> pts;
    for (int i = 0; i < points * 2; ++i) {
        const double a = (turn - 90.0 + i * 180.0 / points) * kRadians;
        const double r = i % 2 == 0 ? outer : inner;
        pts.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return pts;
}

std::vector<Vec2> ArcPoints(Vec2 c, double r, double from, double to, int segments) {
    std::vector<Vec2> pts;
    for (int i = 0; i <= segments; ++i) {
        const double a = (from + (to - from) * i / segments) * kRadians;
        pts.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return pts;
}

} // namespace korvanta::payload
