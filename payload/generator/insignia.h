#pragma once
// The parts rank insignia are made of, as shapes in design units, and the metal finish
// they are drawn with.

#include "canvas.h"
#include "shape.h"

namespace korvanta::payload {

struct Metal {
    Colour light, dark; // top and bottom of the face
    Colour edge;        // the thin dark line that lifts the part off its background
};

// Outline, graded face, and a bevel that catches light at the top left.
void DrawMetal(Canvas &canvas, const Shape &part, const Metal &metal);

// One chevron: apex at (cx, apex_y), arms reaching half_width sideways and drop down (or up
// when drop is negative), thickness measured vertically.
Shape Chevron(double cx, double apex_y, double half_width, double drop, double thickness);
// A curved band under (or over) a chevron stack: an arc of the circle through the ends.
Shape Rocker(double cx, double y, double half_width, double sag, double thickness);
// A heater shield: a box down to the shoulder line over two arcs meeting in the point.
Shape HeaterShield(double left, double top, double right, double shoulder, double tip);
Shape Bar(double cx, double cy, double half_width, double half_height);
Shape Star(Vec2 centre, double radius, int points = 5);
Shape Diamond(Vec2 centre, double half_width, double half_height);
Shape Rosette(Vec2 centre, double radius);
// A pointed leaf from its base along the direction (degrees, 0 right, 90 down).
Shape Leaf(Vec2 base, double angle_degrees, double length, double width);
// Two branches of leaves climbing from the bottom up both sides of a circle.
Shape Wreath(Vec2 centre, double radius, double leaf_size, int leaves_per_side, double min_width);
Shape Crown(double cx, double base_y, double half_width, double height);
Shape CrossedBatons(Vec2 centre, double length, double thickness);

} // namespace korvanta::payload
