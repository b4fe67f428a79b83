#include "app/shell_logic.h"

#include "app/platform_values.h"

namespace korvanta {

ProgramPath SplitProgramPath(std::string_view path, bool (*is_lead_byte)(unsigned char)) {
    size_t last = std::string_view::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (is_lead_byte(c) && i + 1 < path.size()) {
            ++i; // the trail byte belongs to this character
            continue;
        }
        if (c == '\\')
            last = i;
    }
    if (last == std::string_view::npos)
        return {std::string(), std::string(path)};
    return {std::string(path.substr(0, last)), std::string(path.substr(last + 1))};
}

bool IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

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
