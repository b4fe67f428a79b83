#pragma once
// The rank ladder: 100 ranks in 20 tiers of five steps. The tier picks the insignia
// (chevrons, rockers, bars, gems, stars, wreaths, batons, crown); the step is counted by pips.
// The foreign set wears gold and steel on a dark-blue heater shield; the stock set wears
// bronze and brass on an olive shoulder board, with its chevrons pointing down.

#include "entry_list.h"
#include "image.h"

namespace korvanta::payload {

inline constexpr double kBadgeWidth = 100;
inline constexpr double kBadgeHeight = 112;
inline constexpr int kStepsPerTier = 5;

struct RankPlace {
    int tier = 0; // 0..19
    int step = 1; // 1..5
};
RankPlace PlaceOf(int rank);

// The badge on a transparent background.
Image DrawRankIcon(IconSet set, int rank, int width, int height);

} // namespace korvanta::payload
