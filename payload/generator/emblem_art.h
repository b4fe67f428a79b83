#pragma once
// The icons outside the rank ladder: the no-rank badge, the member emblems, the reject
// mark, the two overlay animations and the program's own icon. All are shared by both sets
// (the community emblem belongs to the stock set only).

#include "image.h"

namespace korvanta::payload {

inline constexpr int kAllEffFrames = 6;
inline constexpr int kLineEffFrames = 10;
inline constexpr int kProgramIconSize = 64;

Image DrawNoRank(int width, int height);
Image DrawPayUser(int width, int height);
Image DrawGreenCommunity(int width, int height);
Image DrawReject(int width, int height);
// A glow that swells and fades around the badge, frame 0 .. kAllEffFrames - 1.
Image DrawAllEffFrame(int frame, int width, int height);
// A streak of light sweeping across the badge, frame 0 .. kLineEffFrames - 1.
Image DrawLineEffFrame(int frame, int width, int height);
// Opaque, kProgramIconSize square.
Image DrawProgramIcon();

} // namespace korvanta::payload
