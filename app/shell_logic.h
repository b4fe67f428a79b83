#pragma once
// Decisions of the process shell that need no platform: where the program's directory ends,
// and which messages make idle time wanted again.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvanta {

struct ProgramPath {
    std::string directory; // without the trailing backslash; empty without any backslash
    std::string file_name;
};

// Splits a full program path at its last backslash. Characters are taken in the system code
// page: a lead byte (per `is_lead_byte`) forms one character with the byte after it, so a
// trail byte equal to '\\' never splits.
ProgramPath SplitProgramPath(std::string_view full_path, bool (*is_lead_byte)(unsigned char));

// The lead-byte rule of code page 936, for callers without the platform's own.
bool IsGbkLeadByte(unsigned char byte);

// Remembers the last mouse position, so that a mouse move that did not move does not count.
struct IdleTracker {
    bool have_position = false;
    int32_t x = 0, y = 0;

    // True when a dispatched message makes idle time wanted again: anything but a paint, the
    // system timer and a mouse move (client or non-client) to the previous position.
    bool WantsIdle(uint32_t message, int32_t point_x, int32_t point_y);
};

} // namespace korvanta
