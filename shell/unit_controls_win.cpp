#include "shell/unit_controls.h"

#include "shell/events.h"
#include "shell/window_class.h"
#include "shell/window_style.h"

#include <cstring>

namespace korvanta {
namespace {

LiveUnit *UnitOf(HWND hwnd) {
    return reinterpret_cast<LiveUnit *>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// The native controls (BUTTON, EDIT) are subclassed for the units' focus events and cursor;
// their clicks and changes come to the window as WM_COMMAND.
LRESULT CALLBACK NativeUnitProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LiveUnit *unit = UnitOf(hwnd);
    if (!unit)
        return DefWindowProcA(hwnd, msg, wp, lp);
    WNDPROC native = unit->native_proc;
    switch (msg) {
    case WM_SETFOCUS: {
        LRESULT r = CallWindowProcA(native, hwnd, msg, wp, lp);
        RaiseEvent(unit->owner->id(), unit->index, event::kGotFocus);
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = CallWindowProcA(native, hwnd, msg, wp, lp);
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
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(native));
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        unit->hwnd = nullptr;
        return CallWindowProcA(native, hwnd, msg, wp, lp);
    }
    default:
        break;
    }
    return CallWindowProcA(native, hwnd, msg, wp, lp);
}

void Subclass(LiveUnit &unit) {
    SetWindowLongPtrA(unit.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&unit));
    unit.native_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(unit.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativeUnitProc)));
}

HFONT FontFor(LiveUnit &unit, std::span<const uint8_t> description) {
    if (description.size() == sizeof(LOGFONTA)) {
        LOGFONTA lf;
        std::memcpy(&lf, description.data(), sizeof lf);
        unit.font = UniqueFont(CreateFontIndirectA(&lf));
    }
    return unit.font.valid() ? unit.font.get()
                             : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int32_t TextHeight(HFONT font) {
    UniqueScreenDc dc(GetDC(nullptr));
    TEXTMETRICA tm{};
    SelectScope select(dc.get(), font);
    GetTextMetricsA(dc.get(), &tm);
    return tm.tmHeight;
}

// Only the label, a class of our own, takes its unit as the creation parameter; the native
// classes get theirs when they are subclassed.
HWND Create(const LiveWindow &window, LiveUnit &unit, const char *cls, const char *text,
            const ControlStyle &style, int32_t height, int32_t control_id) {
    const UnitRecord &r = *unit.record;
    void *param = r.type == UnitType::Label ? &unit : nullptr;
    return CreateWindowExA(style.ex_style, cls, text, style.style, r.left, r.top, r.width, height,
                           window.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                           GetModuleHandleA(nullptr), param);
}

bool CreateEditBox(LiveWindow &window, LiveUnit &unit, int32_t control_id) {
    const UnitRecord &r = *unit.record;
    const EditBoxProps &e = *r.edit_box;
    HFONT font = FontFor(unit, e.font);
    const int32_t height =
        EditBoxHeight(r.height, e.multiline, TextHeight(font), GetSystemMetrics(SM_CYEDGE));
    unit.content = e.content ? e.content : "";
    unit.hwnd = Create(window, unit, "EDIT", unit.content.c_str(), DeriveControlStyle(r), height,
                       control_id);
    if (!unit.hwnd)
        return false;
    Subclass(unit);
    SendMessageA(unit.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (e.background != kDefaultColour)
        unit.background = UniqueBrush(CreateSolidBrush(e.background));
    SendMessageA(unit.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(e.max_length), 0);
    if (e.input_mode == 2 && e.password_char && e.password_char[0])
        SendMessageA(unit.hwnd, EM_SETPASSWORDCHAR, static_cast<unsigned char>(e.password_char[0]),
                     0);
    SendMessageA(unit.hwnd, EM_SETSEL, static_cast<WPARAM>(e.selection_start),
                 e.selection_start + e.selection_length);
    SendMessageA(unit.hwnd, EM_SCROLLCARET, 0, 0);
    return true;
}

} // namespace

bool CreateUnitControl(LiveWindow &window, LiveUnit &unit, int32_t control_id) {
    unit.control_id = control_id;
    const UnitRecord &r = *unit.record;
    if (r.mouse_pointer != 0)
        unit.cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(r.mouse_pointer));
    switch (r.type) {
    case UnitType::Label: {
        const char *cls = LabelControlClass();
        if (!cls)
            return false;
        unit.hwnd =
            Create(window, unit, cls, r.label->text, DeriveControlStyle(r), r.height, control_id);
        if (!unit.hwnd)
            return false;
        SendMessageA(unit.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(unit, r.label->font)),
                     FALSE);
        return true;
    }
    case UnitType::Button:
        unit.hwnd = Create(window, unit, "BUTTON", r.button->caption, DeriveControlStyle(r),
                           r.height, control_id);
        if (!unit.hwnd)
            return false;
        Subclass(unit);
        SendMessageA(unit.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(unit, r.button->font)),
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
