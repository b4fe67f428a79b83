#pragma once
// How a label draws: the DrawText flags, the passes of its text effect and the colours of
// its gradients. Pure; label_control_win.cpp does the drawing.

#include "shell/unit_record.h"

#include <cstdint>
#include <vector>

namespace korvanta {

// DT_NOCLIP, the horizontal alignment, and either DT_WORDBREAK|DT_VCENTER (word wrap; without
// DT_SINGLELINE the text stays at the top) or DT_SINGLELINE with the vertical alignment.
uint32_t LabelDrawFlags(int32_t horizontal_alignment, bool word_wrap, int32_t vertical_alignment);

// One drawing of the text: in the text colour or a fixed colour, offset from the text rect.
struct TextPass {
    bool text_colour = true;
    uint32_t colour = 0; // when not text_colour
    int32_t dx = 0, dy = 0;
    friend bool operator==(const TextPass &, const TextPass &) = default;
};
// 0 plain, 1 relief, 2 sunken, 3 shadow; other values draw plain.
std::vector<TextPass> LabelTextPasses(int32_t effect);

// The colour at `position` of `span` steps (0 .. span-1) of a gradient that runs from the
// first colour through the second to the third. Default colours count as `face`.
uint32_t GradientColour(const Colour (&colours)[3], uint32_t face, int32_t position, int32_t span);

// The colour a colour property stands for: itself, or `face` for default.
inline uint32_t ResolveColour(Colour c, uint32_t face) {
    return c == kDefaultColour ? face : c;
}

} // namespace korvanta
