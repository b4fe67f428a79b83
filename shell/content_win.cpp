#include "shell/content.h"

#include "base/fatal.h"
#include "shell/live_window.h"

#include <windows.h>

#include <string>

namespace korvanta {
namespace {

// The edit box's live unit; the two fatal cases when it cannot be reached.
LiveUnit &ReachEditBox(UnitRef ref, std::shared_ptr<LiveWindow> &window) {
    window = FindLiveWindow(ref.window);
    if (!window)
        FatalError("未载入欲访问窗口组件所在的窗口", 0);
    if (!IsWindow(window->hwnd) || ref.unit <= 0 ||
        ref.unit >= static_cast<int32_t>(window->units.size()))
        FatalError("指定窗口尚未载入", 0);
    LiveUnit &unit = *window->units[ref.unit];
    if (unit.record->type != UnitType::EditBox || !IsWindow(unit.hwnd))
        FatalError("指定窗口尚未载入", 0);
    return unit;
}

} // namespace

Text ReadContent(UnitRef ref) {
    std::shared_ptr<LiveWindow> window;
    LiveUnit &unit = ReachEditBox(ref, window);
    int n = GetWindowTextLengthA(unit.hwnd);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(unit.hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    unit.content = text;
    return Text::Copy(std::string_view(unit.content));
}

void WriteContent(UnitRef ref, const char *text) {
    std::shared_ptr<LiveWindow> window;
    LiveUnit &unit = ReachEditBox(ref, window);
    unit.writing = true;
    unit.content = text ? text : "";
    SetWindowTextA(unit.hwnd, unit.content.c_str());
    unit.writing = false;
    // The change is reported once, after the write, as the control itself would.
    SendMessageA(window->hwnd, WM_COMMAND, MAKEWPARAM(unit.control_id, EN_CHANGE),
                 reinterpret_cast<LPARAM>(unit.hwnd));
}

} // namespace korvanta
