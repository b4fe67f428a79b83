#include "shell/window_class.h"

#include "base/wide_win.h"
#include "shell/events.h"
#include "shell/keyboard.h"
#include "shell/label_control.h"
#include "shell/live_window.h"
#include "shell/shell.h"

#include <string>
#include <vector>

namespace korvanta {
namespace {

LiveWindow *WindowOf(HWND hwnd) {
    return reinterpret_cast<LiveWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

HBRUSH BackgroundBrush(const LiveWindow &w) {
    return w.background.valid() ? w.background.get() : GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT OnCommand(LiveWindow &w, WPARAM wp, LPARAM lp) {
    LiveUnit *unit = FindUnitByHwnd(reinterpret_cast<HWND>(lp));
    if (!unit || unit->owner != &w)
        return 0;
    const WORD code = HIWORD(wp);
    if (unit->record->type == UnitType::Button && code == BN_CLICKED)
        RaiseEvent(w.id(), unit->index, event::kClick);
    else if (unit->record->type == UnitType::EditBox && code == EN_CHANGE && !unit->writing)
        RaiseEvent(w.id(), unit->index, event::kContentChanged);
    return 0;
}

LRESULT OnControlColour(LiveWindow &w, HDC dc, HWND control, UINT msg, HWND self, WPARAM wp,
                        LPARAM lp) {
    LiveUnit *unit = FindUnitByHwnd(control);
    if (!unit || unit->owner != &w || unit->record->type != UnitType::EditBox)
        return DefWindowProcW(self, msg, wp, lp);
    const EditBoxProps &e = *unit->record->edit_box;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    SetTextColor(dc, e.text_colour == kDefaultColour ? face : e.text_colour);
    SetBkColor(dc, e.background == kDefaultColour ? face : e.background);
    HBRUSH brush =
        unit->background.valid() ? unit->background.get() : GetSysColorBrush(COLOR_BTNFACE);
    return reinterpret_cast<LRESULT>(brush);
}

void OnActivate(LiveWindow &w, WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        int32_t focused = FocusedUnit(w);
        if (focused > 0)
            w.remembered_focus = focused;
        RaiseEvent(w.id(), 0, event::kDeactivated);
        return;
    }
    if (!w.activated_once) {
        w.activated_once = true;
        RaiseEvent(w.id(), 0, event::kFirstActivation);
    }
    RaiseEvent(w.id(), 0, event::kActivated);
}

LRESULT CALLBACK ProgramWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto *cs = reinterpret_cast<CREATESTRUCTW *>(lp);
        auto *w = static_cast<LiveWindow *>(cs->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
        w->hwnd = hwnd;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    LiveWindow *w = WindowOf(hwnd);
    if (!w)
        return DefWindowProcW(hwnd, msg, wp, lp);

    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, BackgroundBrush(*w));
        return 1;
    }
    case WM_COMMAND:
        if (lp)
            return OnCommand(*w, wp, lp);
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return OnControlColour(*w, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), msg, hwnd,
                               wp, lp);
    case WM_ACTIVATE: {
        // The record may go while an activation handler runs; keep it.
        std::shared_ptr<LiveWindow> keep = FindLiveWindow(w->id());
        OnActivate(*w, wp);
        if (!IsWindow(hwnd))
            return 0;
        break; // DefWindowProc then gives the window the focus, see WM_SETFOCUS
    }
    case WM_SETFOCUS:
        FocusOnActivation(*w);
        return 0;
    case WM_MOVE:
        RaiseEvent(w->id(), 0, event::kMoved);
        break;
    case WM_SIZE:
        RaiseEvent(w->id(), 0, event::kResized);
        break;
    case WM_CLOSE: {
        EventOutcome out = RaiseEvent(w->id(), 0, event::kCloseRequest);
        if (out.result.given && out.result.value == 0)
            return 0; // the handler refused
        DestroyWindow(hwnd);
        return 0;
    }
    case WM_DESTROY:
        RaiseEvent(w->id(), 0, event::kDestroying);
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        RemoveLiveWindow(w);
        ProgramWindowDestroyed();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    case WM_SETFONT:
        w->units[0]->shown_font = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->units[0]->shown_font);
    case WM_SETCURSOR: {
        HCURSOR cursor = w->units[0]->cursor;
        if (cursor && reinterpret_cast<HWND>(wp) == hwnd && LOWORD(lp) == HTCLIENT) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    }
    case WM_NCHITTEST: {
        LRESULT hit = DefWindowProcW(hwnd, msg, wp, lp);
        if (hit == HTCLIENT && w->props().drag_by_client_area)
            return HTCAPTION;
        return hit;
    }
    case WM_NCACTIVATE:
        if (w->props().keep_caption_active)
            return DefWindowProcW(hwnd, msg, TRUE, lp);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

std::vector<std::wstring> &RegisteredClasses() {
    static std::vector<std::wstring> names;
    return names;
}

bool RegisterOnce(const std::wstring &name, WNDPROC proc) {
    for (const std::wstring &n : RegisteredClasses()) {
        if (n == name)
            return true;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = nullptr; // each window paints its own background
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    RegisteredClasses().push_back(name);
    return true;
}

} // namespace

std::wstring ProgramWindowClass(const WindowProps &props) {
    std::wstring name = kDefaultWindowClass;
    if (props.class_name && props.class_name[0])
        name = ToWide(props.class_name).value_or(std::wstring());
    return !name.empty() && RegisterOnce(name, &ProgramWindowProc) ? name : std::wstring();
}

std::wstring LabelControlClass() {
    return RegisterOnce(kLabelClass, &LabelControlProc) ? kLabelClass : std::wstring();
}

} // namespace korvanta
