#include "shell/window_loader.h"

#include "base/wide_win.h"
#include "shell/events.h"
#include "shell/live_window.h"
#include "shell/message_dispatch.h"
#include "shell/shell.h"
#include "shell/unit_controls.h"
#include "shell/window_class.h"
#include "shell/window_style.h"

namespace korvanta {
namespace {

constexpr int32_t kFirstControlId = 100;
constexpr int32_t kControlIdStep = 10;

// The window itself, hidden, with its styles, icon, font and placement.
bool CreateTopLevel(LiveWindow &window, const UnitRecord &unit0) {
    const WindowProps &props = *unit0.window;
    const std::wstring cls = ProgramWindowClass(props);
    if (cls.empty())
        return false;
    const WindowPlacement place =
        DeriveWindowPlacement(props, unit0.left, unit0.top, unit0.width, unit0.height,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HWND owner = nullptr;
    if (place.hidden_owner) {
        window.hidden_owner =
            UniqueWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr));
        owner = window.hidden_owner.get();
    }
    // The description's texts were checked for UTF-8 when it was read.
    const std::wstring title = ToWide(props.title).value_or(std::wstring());
    HWND hwnd = CreateWindowExW(place.ex_style, cls.c_str(), title.c_str(), place.style, place.x,
                                place.y, place.width, place.height, owner, nullptr,
                                GetModuleHandleW(nullptr), &window);
    if (!hwnd)
        return false;

    // The system gives every overlapped window a caption; put back exactly the derived bits.
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    SetWindowLongW(
        hwnd, GWL_STYLE,
        static_cast<LONG>((style & ~WS_CAPTION) | static_cast<LONG>(place.caption_bits)));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (props.icon_resource) {
        // Loaded at its own size (64 x 64): the same image serves as large and small icon.
        const std::wstring resource = ToWide(props.icon_resource).value_or(std::wstring());
        window.icon = UniqueIcon(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), resource.c_str(), IMAGE_ICON, 0, 0, 0)));
        if (window.icon.valid()) {
            SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(window.icon.get()));
            SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(window.icon.get()));
        }
    }
    if (props.background != kDefaultColour)
        window.background = UniqueBrush(CreateSolidBrush(props.background));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    if (place.topmost)
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (place.remove_move)
        DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_MOVE, MF_BYCOMMAND);
    if (unit0.mouse_pointer != 0)
        window.units[0]->cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(unit0.mouse_pointer));

    RECT frame;
    GetWindowRect(hwnd, &frame);
    if (frame.right - frame.left != place.width || frame.bottom - frame.top != place.height)
        SetWindowPos(hwnd, nullptr, place.x, place.y, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

// The child units, created last to first, stacked first to last, then shown or hidden.
bool CreateUnits(LiveWindow &window) {
    const size_t n = window.units.size();
    int32_t control_id = kFirstControlId;
    for (size_t i = n; i-- > 1;) {
        if (!CreateUnitControl(window, *window.units[i], control_id))
            return false;
        control_id += kControlIdStep;
    }
    // Unit 1 on top, the rest below it in list order.
    HWND above = HWND_TOP;
    for (size_t i = 1; i < n; ++i) {
        HWND h = window.units[i]->hwnd;
        if (!h)
            continue;
        SetWindowPos(h, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = h;
    }
    for (size_t i = 1; i < n; ++i) {
        const LiveUnit &unit = *window.units[i];
        if (!unit.hwnd)
            continue; // function units are never shown
        const bool show =
            (unit.record->flags & kUnitVisible) && TraitsOf(unit.record->type).has_window;
        ShowWindow(unit.hwnd, show ? SW_SHOWNA : SW_HIDE);
    }
    return true;
}

} // namespace

bool LoadWindow(int32_t window_id) {
    const WindowDescription *description = FindWindowDescription(window_id);
    if (!description || FindLiveWindow(window_id))
        return false;

    DispatchPendingMessages();
    RaiseEventSuppression();
    std::shared_ptr<LiveWindow> window = AddLiveWindow(*description);
    const UnitRecord &unit0 = description->units[0];
    if (!CreateTopLevel(*window, unit0) || !CreateUnits(*window)) {
        LowerEventSuppression();
        return false;
    }
    // The notifications of the creation are consumed without running handlers.
    DispatchPendingMessages();
    LowerEventSuppression();

    HWND hwnd = window->hwnd;
    RaiseEvent(window_id, 0, event::kCreationComplete);
    if (IsWindow(hwnd))
        RaiseEvent(window_id, 0, event::kMoved);
    if (IsWindow(hwnd))
        RaiseEvent(window_id, 0, event::kResized);
    if (IsWindow(hwnd) && (unit0.flags & kUnitVisible)) {
        const WindowPlacement place =
            DeriveWindowPlacement(*unit0.window, unit0.left, unit0.top, unit0.width, unit0.height,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        ShowWindow(hwnd, place.show_command);
    }
    if (IsWindow(hwnd)) {
        HWND focus = GetFocus();
        for (const auto &unit : window->units) {
            if (unit->hwnd)
                SendMessageW(unit->hwnd, kUnitWindowComplete, 0, 0);
        }
        if (focus && GetFocus() != focus && IsWindow(focus))
            SetFocus(focus);
        window->loaded = true;
    }
    return true;
}

} // namespace korvanta
