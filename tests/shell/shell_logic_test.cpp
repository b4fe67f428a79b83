#include "shell/shell_logic.h"

#include "base/platform_values.h"

#include <gtest/gtest.h>

namespace korvanta {
namespace {

TEST(IdleTracker, PaintTimerAndStillMouseMovesDoNotWantIdle) {
    struct Step {
        uint32_t message;
        int32_t x, y;
        bool wants_idle;
    };
    const Step steps[] = {
        {win::kWmMouseMove, 10, 10, true},    // the first move
        {win::kWmMouseMove, 10, 10, false},   // did not move
        {win::kWmNcMouseMove, 10, 10, false}, // non-client, same place
        {win::kWmNcMouseMove, 11, 10, true},
        {win::kWmMouseMove, 11, 10, false},
        {win::kWmPaint, 0, 0, false},
        {win::kWmSysTimer, 0, 0, false},
        {0x0100 /* WM_KEYDOWN */, 11, 10, true},
        {0x0113 /* WM_TIMER */, 11, 10, true},
        {win::kWmMouseMove, 11, 10, false}, // other messages do not forget the position
    };
    IdleTracker tracker;
    int i = 0;
    for (const Step &s : steps) {
        EXPECT_EQ(tracker.WantsIdle(s.message, s.x, s.y), s.wants_idle) << "step " << i;
        ++i;
    }
}

} // namespace
} // namespace korvanta
