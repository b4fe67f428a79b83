#include "shell/shell_logic.h"

#include "base/platform_values.h"

namespace korvanta {

bool IdleTracker::WantsIdle(uint32_t message, int32_t px, int32_t py) {
    if (message == win::kWmPaint || message == win::kWmSysTimer)
        return false;
    if (message == win::kWmMouseMove || message == win::kWmNcMouseMove) {
        bool same = have_position && px == x && py == y;
        have_position = true;
        x = px;
        y = py;
        return !same;
    }
    return true;
}

} // namespace korvanta
