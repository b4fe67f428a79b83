#include "shell/unit_controls.h"

#include "base/wide_win.h"
#include "shell/events.h"
#include "shell/font_win.h"
#include "shell/window_class.h"
#include "shell/window_style.h"

namespace korvanta {
namespace {

LiveUnit *UnitOf(HWND hwnd) {
    return reinterpret_cast<LiveUnit *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The native controls (BUTTON, EDIT) are subclassed for the units' focus events and cursor;
// their clicks and changes come to the window as WM_COMMAND.
LRESULT CALLBACK NativeUnitProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LiveUnit *unit = UnitOf(hwnd);
    if (!unit)
        return DefWindowProcW(hwnd, msg, wp, lp);
    WNDPROC native = unit->native_proc;
    switch (msg) {
    case WM_SETFOCUS: {
        LRESULT r = CallWindowProcW(native, hwnd, msg, wp, lp);
        RaiseEvent(unit->owner->id(), unit->index, event::kGotFocus);
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = CallWindowProcW(native, hwnd, msg, wp, lp);
        RaiseEvent(unit->owner->id(), unit->index, event::kLostFocus);
        return r;
    }
    case WM_SETCURSOR:
        if (unit->cursor && LOWORD(lp) == HTCLIENT) {
            SetCursor(unit->cursor);
            return TRUE;
        }
        break;
    case kUnitWindowComplete:
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(native));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        unit->hwnd = nullptr;
        return CallWindowProcW(native, hwnd, msg, wp, lp);
    }
    default:
        break;
    }
    return CallWindowProcW(native, hwnd, msg, wp, lp);
}

void Subclass(LiveUnit &unit) {
    SetWindowLongPtrW(unit.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&unit));
    unit.native_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(unit.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativeUnitProc)));
}

HFONT FontFor(LiveUnit &unit, std::span<const uint8_t> description) {
    unit.font = FontFromDescription(description);
    return unit.font.valid() ? unit.font.get()
                             : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int32_t TextHeight(HFONT font) {
    UniqueScreenDc dc(GetDC(nullptr));
    TEXTMETRICW tm{};
    SelectScope select(dc.get(), font);
    GetTextMetricsW(dc.get(), &tm);
    return tm.tmHeight;
}

// Only the label, a class of our own, takes its unit as the creation parameter; the native
// classes get theirs when they are subclassed.
// The controls are Unicode windows from the start, so that their texts never pass through the
// system's code page. The description's texts were checked for UTF-8 when it was read.
HWND Create(const LiveWindow &window, LiveUnit &unit, const wchar_t *cls, const char *text,
            const ControlStyle &style, int32_t height, int32_t control_id) {
    const UnitRecord &r = *unit.record;
    void *param = r.type == UnitType::Label ? &unit : nullptr;
    const std::wstring wide_text = ToWide(text).value_or(std::wstring());
    return CreateWindowExW(style.ex_style, cls, wide_text.c_str(), style.style, r.left, r.top,
                           r.width, height, window.hwnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                           GetModuleHandleW(nullptr), param);
}

bool CreateEditBox(LiveWindow &window, LiveUnit &unit, int32_t control_id) {
    const UnitRecord &r = *unit.record;
    const EditBoxProps &e = *r.edit_box;
    HFONT font = FontFor(unit, e.font);
    const int32_t height =
        EditBoxHeight(r.height, e.multiline, TextHeight(font), GetSystemMetrics(SM_CYEDGE));
    unit.content = e.content ? e.content : "";
    unit.hwnd = Create(window, unit, L"EDIT", unit.content.c_str(), DeriveControlStyle(r), height,
                       control_id);
    if (!unit.hwnd)
        return false;
    Subclass(unit);
    SendMessageW(unit.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (e.background != kDefaultColour)
        unit.background = UniqueBrush(CreateSolidBrush(e.background));
    SendMessageW(unit.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(e.max_length), 0);
    // The password character is the first character of its text; the control takes one UTF-16
    // unit, so a character outside the BMP leaves the control's own.
    const std::wstring password = ToWide(e.password_char).value_or(std::wstring());
    if (e.input_mode == 2 && !password.empty() && (password[0] < 0xD800 || password[0] > 0xDFFF))
        SendMessageW(unit.hwnd, EM_SETPASSWORDCHAR, static_cast<WPARAM>(password[0]), 0);
    SendMessageW(unit.hwnd, EM_SETSEL, static_cast<WPARAM>(e.selection_start),
                 e.selection_start + e.selection_length);
    SendMessageW(unit.hwnd, EM_SCROLLCARET, 0, 0);
    return true;
}

} // namespace

bool CreateUnitControl(LiveWindow &window, LiveUnit &unit, int32_t control_id) {
    unit.control_id = control_id;
    const UnitRecord &r = *unit.record;
    if (r.mouse_pointer != 0)
        unit.cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(r.mouse_pointer));
    switch (r.type) {
    case UnitType::Label: {
        const std::wstring cls = LabelControlClass();
        if (cls.empty())
            return false;
        unit.hwnd = Create(window, unit, cls.c_str(), r.label->text, DeriveControlStyle(r),
                           r.height, control_id);
        if (!unit.hwnd)
            return false;
        SendMessageW(unit.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(unit, r.label->font)),
                     FALSE);
        return true;
    }
    case UnitType::Button:
        unit.hwnd = Create(window, unit, L"BUTTON", r.button->caption, DeriveControlStyle(r),
                           r.height, control_id);
        if (!unit.hwnd)
            return false;
        Subclass(unit);
        SendMessageW(unit.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(unit, r.button->font)),
                     FALSE);
        return true;
    case UnitType::EditBox:
        return CreateEditBox(window, unit, control_id);
    case UnitType::Zip:
        return true; // a function unit: its live object is all it needs
    case UnitType::Window:
        break;
    }
    return false;
}

} // namespace korvanta
