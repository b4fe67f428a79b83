#include "rank_art.h"

#include "canvas.h"
#include "insignia.h"

#include <cmath>
#include <vector>

namespace korvanta::payload {

namespace {

struct Palette {
    Colour field_top, field_bottom;
    Metal rim, insignia, pip;
    Colour gem;
    Metal wreath; // a shade apart from the insignia so that the stars stand out of it
};

// Five bands of seniority: enlisted, junior officers, field officers, generals, marshals.
int BandOf(int tier) {
    return tier < 5 ? 0 : tier < 10 ? 1 : tier < 14 ? 2 : tier < 18 ? 3 : 4;
}

const Metal kSteel{Hex(0xF2F6FA), Hex(0x7D8A98), Hex(0x0A0F18, 0.9f)};
const Metal kGold{Hex(0xFFEC9A), Hex(0xC0841A), Hex(0x1A0E02, 0.9f)};
const Metal kPaleGold{Hex(0xFFF6D0), Hex(0xD9A640), Hex(0x1A0E02, 0.9f)};
const Metal kKhaki{Hex(0xF1E6B8), Hex(0x9C8C58), Hex(0x15170A, 0.9f)};
const Metal kBronze{Hex(0xF4C088), Hex(0x8E5322), Hex(0x1A0C04, 0.9f)};
const Metal kBrass{Hex(0xFFF0A8), Hex(0xA8822C), Hex(0x141004, 0.9f)};
const Metal kPaleBrass{Hex(0xFFFBE0), Hex(0xD8BC6A), Hex(0x141004, 0.9f)};

// The foreign set's palettes, then the stock set's; each by band, from enlisted to marshals.
const Palette kPalettes[2][5] = {
    {
        {Hex(0x1F3158), Hex(0x0B1428), kSteel, kSteel, kSteel, Hex(0x7FB6FF), kGold},
        {Hex(0x1F3158), Hex(0x0B1428), kSteel, kGold, kSteel, Hex(0x6FA8FF), kGold},
        {Hex(0x28478C), Hex(0x0E1D44), kGold, kGold, kGold, Hex(0x6FA8FF), kGold},
        {Hex(0x2C3F9C), Hex(0x121A50), kGold, kPaleGold, kGold, Hex(0xFF5A5A), kGold},
        {Hex(0x9A1A2C), Hex(0x3E0610), kPaleGold, kPaleGold, kPaleGold, Hex(0x7FE0FF), kGold},
    },
    {
        {Hex(0x66753C), Hex(0x343E1A), kBronze, kKhaki, kKhaki, Hex(0x9CE07A), kBronze},
        {Hex(0x66753C), Hex(0x343E1A), kBronze, kBronze, kBronze, Hex(0x9CE07A), kBronze},
        {Hex(0x56652E), Hex(0x28310F), kBrass, kBrass, kBrass, Hex(0x6CD06A), kBronze},
        {Hex(0x5A6A2A), Hex(0x263010), kBrass, kPaleBrass, kPaleBrass, Hex(0xE05040), kBronze},
        {Hex(0x3A4618), Hex(0x161C08), kBrass, kPaleBrass, kPaleBrass, Hex(0x58E0A0), kBronze},
    }};

Palette PaletteOf(IconSet set, int band) {
    return kPalettes[set == IconSet::Foreign ? 0 : 1][band];
}

// The badge outlines in the 100 x 112 design box.
Shape ShoulderBoard() {
    return Intersect(Polygon({{50, 3}, {93, 20}, {93, 108}, {7, 108}, {7, 20}}),
                     RoundedBox({7, 0, 93, 108}, 8));
}

struct Layout {
    Vec2 centre;    // of the insignia
    double pips_y;  // centre line of the step pips
    bool points_up; // chevrons point up (foreign) or down (stock)
    Vec2 wreath_centre;
    double wreath_radius;
};

// Chevron stack with rockers, drawn pointing up and mirrored for the stock style. On coarse
// icons every stripe starts on a pixel edge so that the stripes stay apart; on the 17 x 19
// icons the stripes of the rocker tiers shrink to one pixel, the only way five of them fit.
Shape ChevronStack(const Canvas &cv, const Layout &l, int chevrons, int rockers) {
    const double px = cv.Pixel();
    const bool tiny = px > 5;
    // Rockers make the stack taller, so their tiers use a finer stripe.
    const double t = tiny ? (rockers ? 1.0 : 1.5) * px : cv.AtLeast(rockers ? 7 : 8.5, 1.2);
    double pitch = tiny ? (rockers ? 2 : 3) * px : t + cv.AtLeast(rockers ? 3.5 : 4.5, 1.0);
    if (cv.Coarse())
        pitch = std::round(pitch / px) * px;
    const double half = rockers ? 24 : 30;
    const double drop = tiny ? 2 * px : rockers ? 11 : 18;
    const double rocker_t = tiny ? px : t, rocker_pitch = tiny ? 2 * px : pitch;
    const double sag = rockers == 0 || tiny ? 0 : 6;
    const double height = drop + t + (chevrons - 1) * pitch + rockers * rocker_pitch + sag;
    double top = l.centre.y - height / 2;
    double axis = l.centre.y;
    if (cv.Coarse()) {
        top = cv.SnapToPixel({l.centre.x, top}).y - px / 2;
        axis = cv.SnapToPixel(l.centre).y; // mirroring about a pixel centre keeps the grid
    }
    Shape s = Chevron(l.centre.x, top, half, drop, t);
    for (int i = 1; i < chevrons; ++i)
        s = Unite(s, Chevron(l.centre.x, top + i * pitch, half, drop, t));
    const double ends_y = top + (chevrons - 1) * pitch + drop + t;
    for (int i = 1; i <= rockers; ++i) {
        const double y = ends_y + i * rocker_pitch - rocker_t / 2;
        s = Unite(s, sag > 0 ? Rocker(l.centre.x, y, half, sag, rocker_t)
                             : RoundedBox({l.centre.x - half, y - rocker_t / 2, l.centre.x + half,
                                           y + rocker_t / 2},
                                          0));
    }
    return l.points_up ? s : FlipVertical(s, axis);
}

Shape BarStack(const Canvas &cv, const Layout &l, int bars) {
    const double px = cv.Pixel(), hh = cv.AtLeast(6.5, 0.7);
    double pitch = 2 * hh + cv.AtLeast(6, 1.0);
    double first = l.centre.y - (bars - 1) * pitch / 2;
    if (cv.Coarse()) {
        pitch = std::round(pitch / px) * px;
        first = cv.SnapToPixel({l.centre.x, first}).y;
    }
    Shape s = Bar(l.centre.x, first, 29, hh);
    for (int i = 1; i < bars; ++i)
        s = Unite(s, Bar(l.centre.x, first + i * pitch, 29, hh));
    return s;
}

// n stars arranged to fill a circle of the given radius around c.
Shape StarGroup(Vec2 c, int n, double radius) {
    switch (n) {
    case 1:
        return Star(c, radius);
    case 2:
        return Unite(Star({c.x - radius * 0.62, c.y}, radius * 0.62),
                     Star({c.x + radius * 0.62, c.y}, radius * 0.62));
    case 3:
        return Unite(Star({c.x, c.y - radius * 0.5}, radius * 0.55),
                     Unite(Star({c.x - radius * 0.62, c.y + radius * 0.42}, radius * 0.55),
                           Star({c.x + radius * 0.62, c.y + radius * 0.42}, radius * 0.55)));
    default: {
        const double o = radius * 0.55, r = radius * 0.52;
        return Unite(Unite(Star({c.x - o, c.y - o}, r), Star({c.x + o, c.y - o}, r)),
                     Unite(Star({c.x - o, c.y + o}, r), Star({c.x + o, c.y + o}, r)));
    }
    }
}

void DrawGem(Canvas &cv, const Shape &gem, Colour colour) {
    const Box &b = gem.Bounds();
    cv.Fill(gem, VerticalGradient(b.y0, Lighter(colour, 0.55), b.y1, Darker(colour, 0.45)));
}

// Coarse icons get fewer, bolder leaves: six small ones a side only blur into a band.
void DrawWreath(Canvas &cv, const Layout &l, const Palette &p) {
    const bool coarse = cv.Coarse();
    const Shape wreath = Wreath(l.wreath_centre, l.wreath_radius, cv.AtLeast(15, 2.6),
                                coarse ? 4 : 6, cv.AtLeast(3, 0.8));
    DrawMetal(cv, wreath, p.wreath);
}

void DrawInsignia(Canvas &cv, const Layout &l, int tier, const Palette &p, bool summit) {
    const Vec2 c = l.centre, w{l.wreath_centre.x, l.wreath_centre.y - 4};
    switch (tier) {
    case 0:
    case 1:
    case 2:
        DrawMetal(cv, ChevronStack(cv, l, tier + 1, 0), p.insignia);
        return;
    case 3:
    case 4:
        DrawMetal(cv, ChevronStack(cv, l, 3, tier - 2), p.insignia);
        return;
    case 5:
    case 6:
    case 7:
        DrawMetal(cv, BarStack(cv, l, tier - 4), p.insignia);
        return;
    case 8: {
        const Shape d = Diamond(c, 20, 28);
        DrawMetal(cv, d, p.insignia);
        DrawGem(cv, Diamond(c, 10, 15), p.gem);
        return;
    }
    case 9:
        DrawMetal(cv, Rosette(c, 29), p.insignia);
        DrawGem(cv, Circle(c, 9), p.gem);
        return;
    case 10:
    case 11:
    case 12:
    case 13:
        DrawMetal(cv, StarGroup(c, tier - 9, tier == 10 ? 30 : 33), p.insignia);
        return;
    case 14:
    case 15:
    case 16: {
        // Inside a wreath the stars sit a little high, clear of its base.
        const double grow = cv.Coarse() ? 1.15 : 1.0;
        DrawWreath(cv, l, p);
        DrawMetal(cv, StarGroup(w, tier - 13, (tier == 14 ? 22 : 25) * grow), p.insignia);
        return;
    }
    case 17:
        DrawWreath(cv, l, p);
        cv.Fill(Polygon(StarPoints(w, 30, 14, 12, 15)), WithAlpha(p.gem, 0.55));
        DrawMetal(cv, Star(w, cv.Coarse() ? 26 : 23), p.insignia);
        return;
    case 18:
        DrawWreath(cv, l, p);
        DrawMetal(cv, CrossedBatons({w.x, w.y + 5}, 50, cv.AtLeast(8, 1.2)), p.insignia);
        DrawMetal(cv, Star({w.x, w.y - 5}, cv.Coarse() ? 17 : 15), p.insignia);
        return;
    default:
        DrawWreath(cv, l, p);
        if (summit) {
            cv.Fill(
                Circle({w.x, w.y + 7}, 24),
                RadialGradient({w.x, w.y + 7}, 24, WithAlpha(p.gem, 0.9), WithAlpha(p.gem, 0.0)));
        }
        DrawMetal(cv, Crown(w.x, w.y - 11, 18, 22), p.insignia);
        DrawMetal(cv, Star({w.x, w.y + 11}, 17), p.insignia);
        DrawGem(cv, Circle({w.x, w.y + 11}, summit ? 5 : 3.5), p.gem);
        return;
    }
}

// The step within the tier: one to five pips in a row. On coarse icons each pip is a
// single bright dot on a pixel centre, a whole number of pixels apart.
void DrawPips(Canvas &cv, const Layout &l, int step, const Metal &metal, bool round) {
    const double px = cv.Pixel();
    double pitch = 11, r = 3.8;
    if (cv.Coarse()) {
        const int pixels = px > 5 ? 2 : 3;
        pitch = pixels * px;
        r = (pixels == 2 ? 0.62 : 0.8) * px;
    }
    Vec2 first{l.centre.x - (step - 1) * pitch / 2, l.pips_y};
    if (cv.Coarse())
        first = cv.SnapToPixel(first);
    for (int i = 0; i < step; ++i) {
        const Vec2 at{first.x + i * pitch, first.y};
        DrawMetal(cv, round ? Circle(at, r) : Diamond(at, r * 1.2, r * 1.2), metal);
    }
}

} // namespace

RankPlace PlaceOf(int rank) {
    return {(rank - 1) / kStepsPerTier, (rank - 1) % kStepsPerTier + 1};
}

Image DrawRankIcon(IconSet set, int rank, int width, int height) {
    const RankPlace place = PlaceOf(rank);
    const Palette p = PaletteOf(set, BandOf(place.tier));
    Canvas cv(width, height, kBadgeWidth, kBadgeHeight);
    const bool foreign = set == IconSet::Foreign;
    const Shape badge = foreign ? HeaterShield(7, 5, 93, 56, 109) : ShoulderBoard();
    const double rim = cv.AtLeast(5, 1.0);

    cv.Fill(Grow(badge, cv.AtLeast(1.5, 0.5)), Hex(0x000000, 0.85f));
    DrawMetal(cv, badge, p.rim);
    const Shape field = Grow(badge, -rim);
    cv.Fill(field, VerticalGradient(5, p.field_top, 108, p.field_bottom));
    // A soft sheen across the upper field, the way lacquer catches light.
    cv.Fill(Intersect(field, Circle({30, -40}, 90)), Hex(0xFFFFFF, 0.07f));
    if (!foreign) // the board's centre seam
        cv.Fill(Intersect(field, RoundedBox({49, 0, 51, 112}, 0.5)), Hex(0x000000, 0.18f));

    const Layout layout = foreign ? Layout{{50, 59}, 18, true, {50, 61}, 36}
                                  : Layout{{50, 55}, 96, false, {50, 52}, 34};
    DrawInsignia(cv, layout, place.tier, p, rank == kRankCount);
    DrawPips(cv, layout, place.step, p.pip, foreign);
    return cv.ToImage();
}

} // namespace korvanta::payload
