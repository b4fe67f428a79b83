#pragma once
// Decisions of the process shell that need no platform: which messages make idle time wanted
// again.

#include <cstdint>

namespace korvanta {

// Remembers the last mouse position, so that a mouse move that did not move does not count.
struct IdleTracker {
    bool have_position = false;
    int32_t x = 0, y = 0;

    // True when a dispatched message makes idle time wanted again: anything but a paint, the
    // system timer and a mouse move (client or non-client) to the previous position.
    bool WantsIdle(uint32_t message, int32_t point_x, int32_t point_y);
};

} // namespace korvanta
