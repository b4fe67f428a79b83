#include "shell/content.h"

#include "base/fatal.h"
#include "base/wide_win.h"
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
    int n = GetWindowTextLengthW(unit.hwnd);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
    n = GetWindowTextW(unit.hwnd, wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(n > 0 ? n : 0));
    // A lone surrogate (typed or sent in by another program) has no UTF-8 form. Read as the
    // empty box rather than as other characters, which would name another path.
    unit.content = FromWide(wide).value_or(std::string());
    return Text::Copy(std::string_view(unit.content));
}

void WriteContent(UnitRef ref, const char *text) {
    std::shared_ptr<LiveWindow> window;
    LiveUnit &unit = ReachEditBox(ref, window);
    // A text that is not UTF-8 empties the box: it shows no characters it was not given.
    std::optional<std::wstring> wide = ToWide(text);
    unit.writing = true;
    unit.content = wide ? (text ? text : "") : "";
    SetWindowTextW(unit.hwnd, wide ? wide->c_str() : L"");
    unit.writing = false;
    // The change is reported once, after the write, as the control itself would.
    SendMessageW(window->hwnd, WM_COMMAND, MAKEWPARAM(unit.control_id, EN_CHANGE),
                 reinterpret_cast<LPARAM>(unit.hwnd));
}

} // namespace korvanta
