#include "shell/keyboard.h"

#include "base/wide_win.h"
#include "shell/events.h"

namespace korvanta {

std::vector<UnitState> SnapshotUnits(const LiveWindow &window) {
    std::vector<UnitState> states;
    states.reserve(window.units.size());
    for (const auto &unit : window.units) {
        const UnitRecord &r = *unit->record;
        UnitState s;
        s.type = r.type;
        s.tab_stop = (r.flags & kUnitTabStop) != 0;
        s.tab_order = r.tab_order;
        s.caption = CaptionOf(r);
        HWND h = unit->index == 0 ? window.hwnd : unit->hwnd;
        if (h) {
            const LONG style = GetWindowLongW(h, GWL_STYLE);
            s.on_screen = IsWindowVisible(h) != FALSE;
            s.visible = (style & WS_VISIBLE) != 0;
            s.enabled = IsWindowEnabled(h) != FALSE;
            if (r.type == UnitType::Button)
                s.default_button = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
            if (r.type == UnitType::EditBox) {
                s.multiline = (style & ES_MULTILINE) != 0;
                s.read_only = (style & ES_READONLY) != 0;
            }
        }
        states.push_back(s);
    }
    return states;
}

namespace {

bool Down(int vk) {
    return GetKeyState(vk) < 0;
}

bool CanTakeFocus(const LiveWindow &window, int32_t unit) {
    if (unit <= 0 || unit >= static_cast<int32_t>(window.units.size()))
        return false;
    // Its own visible state: the window itself may still be on its way to the screen.
    HWND h = window.units[unit]->hwnd;
    return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(h);
}

// The help file's path in UTF-16; nothing when there is none.
std::optional<std::wstring> HelpFile(const WindowProps &p) {
    if (!p.help_file || !p.help_file[0])
        return std::nullopt;
    return ToWide(p.help_file);
}

void OpenHelp(const LiveWindow &window) {
    const WindowProps &p = window.props();
    if (const std::optional<std::wstring> file = HelpFile(p))
        WinHelpW(window.hwnd, file->c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(p.help_context));
}

} // namespace

bool PreTranslateKey(LiveWindow &window, const MSG &msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    if (!IsWindowEnabled(msg.hwnd))
        return false;
    const bool sys = msg.message == WM_SYSKEYDOWN;
    // The context bit of WM_SYSKEYDOWN says Alt is down even when the key state was not
    // updated (a posted message).
    const bool alt = Down(VK_MENU) || (sys && (msg.lParam & (1 << 29)));
    KeyName key = NameKey(static_cast<uint32_t>(msg.wParam), Down(VK_CONTROL), Down(VK_SHIFT), alt);

    const WindowProps &props = window.props();
    KeyOptions options;
    options.enter_moves_focus = props.enter_moves_focus;
    options.esc_closes = props.esc_closes;
    const std::optional<std::wstring> help_file =
        props.f1_opens_help ? HelpFile(props) : std::nullopt;
    options.f1_opens_help =
        help_file && GetFileAttributesW(help_file->c_str()) != INVALID_FILE_ATTRIBUTES;

    std::vector<UnitState> units = SnapshotUnits(window);
    KeyAction action = DecideKey(units, FocusedUnit(window), key, options);
    if (action.kind == KeyActionKind::PassOn)
        return false;

    // A consumed Alt combination still goes to the system's own Alt tracking, untranslated:
    // without it, releasing Alt would open the system menu as if Alt had been pressed alone,
    // and without translation no WM_SYSCHAR reaches the window to make it beep.
    if (sys)
        DefWindowProcW(window.hwnd, msg.message, msg.wParam, msg.lParam);

    const int32_t id = window.id();
    HWND hwnd = window.hwnd;
    switch (action.kind) {
    case KeyActionKind::MoveFocus:
        if (CanTakeFocus(window, action.unit))
            SetFocus(window.units[action.unit]->hwnd);
        break;
    case KeyActionKind::RaiseClick:
        RaiseEvent(id, action.unit, event::kClick);
        break;
    case KeyActionKind::Close:
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        break;
    case KeyActionKind::OpenHelp:
        OpenHelp(window);
        break;
    case KeyActionKind::PassOn:
    case KeyActionKind::Nothing:
        break;
    }
    return true;
}

void FocusOnActivation(LiveWindow &window) {
    std::shared_ptr<LiveWindow> keep = FindLiveWindow(window.id());
    HWND hwnd = window.hwnd;
    RaiseEvent(window.id(), 0, event::kGotFocus);
    if (!IsWindow(hwnd) || GetFocus() != hwnd)
        return; // the handler destroyed the window or moved the focus itself
    int32_t target = window.remembered_focus;
    if (!CanTakeFocus(window, target))
        target = FirstFocusUnit(SnapshotUnits(window));
    if (CanTakeFocus(window, target))
        SetFocus(window.units[target]->hwnd);
}

} // namespace korvanta
