#include "shell/label_logic.h"

#include "base/platform_values.h"

namespace korvanta {
using namespace win;

uint32_t LabelDrawFlags(int32_t horizontal, bool word_wrap, int32_t vertical) {
    uint32_t flags = kDtNoClip;
    if (horizontal == 1)
        flags |= kDtCenter;
    else if (horizontal == 2)
        flags |= kDtRight;
    if (word_wrap) {
        flags |= kDtWordBreak | kDtVCenter;
    } else {
        flags |= kDtSingleLine;
        if (vertical == 1)
            flags |= kDtVCenter;
        else if (vertical == 2)
            flags |= kDtBottom;
    }
    return flags;
}

std::vector<TextPass> LabelTextPasses(int32_t effect) {
    const uint32_t white = Rgb(255, 255, 255);
    const uint32_t black = Rgb(0, 0, 0);
    switch (effect) {
    case 1: // relief
        return {{false, white, 1, 1}, {true, 0, 0, 0}};
    case 2: // sunken
        return {{false, white, 0, 0}, {true, 0, 1, 1}};
    case 3: // shadow
        return {{false, black, 2, 2}, {true, 0, 0, 0}};
    default:
        return {{true, 0, 0, 0}};
    }
}

namespace {
uint32_t Channel(uint32_t c, int shift) {
    return (c >> shift) & 0xFF;
}
uint32_t Mix(uint32_t a, uint32_t b, int32_t num, int32_t den) {
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        int32_t ca = static_cast<int32_t>(Channel(a, shift));
        int32_t cb = static_cast<int32_t>(Channel(b, shift));
        int32_t v = den == 0 ? ca : ca + (cb - ca) * num / den;
        out |= static_cast<uint32_t>(v) << shift;
    }
    return out;
}
} // namespace

uint32_t GradientColour(const Colour (&colours)[3], uint32_t face, int32_t position, int32_t span) {
    uint32_t c0 = ResolveColour(colours[0], face);
    uint32_t c1 = ResolveColour(colours[1], face);
    uint32_t c2 = ResolveColour(colours[2], face);
    if (span <= 1)
        return c0;
    // Two halves: first colour to the middle one over the first half, then on to the last.
    int32_t last = span - 1;
    int32_t mid = last / 2;
    if (position <= mid)
        return Mix(c0, c1, position, mid);
    return Mix(c1, c2, position - mid, last - mid);
}

} // namespace korvanta
