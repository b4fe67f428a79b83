#pragma once
// The parts rank insignia are made of, as shapes in design units, and the metal finish
// they are drawn with.

#include "canvas.h"
#include "shape.h"

namespace korvanta::payload {

struct Metal {
    Color light, dark; // top and bottom of the face
    Color edge;        // the thin dark line that lifts the part off its background
};

// Outline, graded face, and a bevel that catches light at the top left.
void DrawMetal(Canvas &canvas, const Shape &part, const Metal &metal);

// One chevron: apex at (cx, apexY), arms reaching halfWidth sideways and drop down (or up
// when drop is negative), thickness measured vertically.
Shape Chevron(double cx, double apexY, double halfWidth, double drop, double thickness);
// A curved band under (or over) a chevron stack: an arc of the circle through the ends.
Shape Rocker(double cx, double y, double halfWidth, double sag, double thickness);
// A heater shield: a box down to the shoulder line over two arcs meeting in the point.
Shape HeaterShield(double left, double top, double right, double shoulder, double tip);
Shape Bar(double cx, double cy, double halfWidth, double halfHeight);
Shape Star(Vec2 centre, double radius, int points = 5);
Shape Diamond(Vec2 centre, double halfWidth, double halfHeight);
Shape Rosette(Vec2 centre, double radius);
// A pointed leaf from its base along the direction (degrees, 0 right, 90 down).
Shape Leaf(Vec2 base, double angleDegrees, double length, double width);
// Two branches of leaves climbing from the bottom up both sides of a circle.
Shape Wreath(Vec2 centre, double radius, double leafSize, int leavesPerSide, double minWidth);
Shape Crown(double cx, double baseY, double halfWidth, double height);
Shape CrossedBatons(Vec2 centre, double length, double thickness);

} // namespace korvanta::payload
