#include "shell/label_control.h"

#include "shell/events.h"
#include "shell/font_win.h"
#include "shell/label_logic.h"
#include "shell/live_window.h"
#include "shell/win_handles.h"
#include "shell/window_class.h"

#include <string>

namespace korvanta {
namespace {

void FillSolid(HDC dc, const RECT &rc, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rc, brush.get());
}

// Rings of one pixel from the outside in, each in its step of the three-colour gradient.
void DrawGradientFrame(HDC dc, RECT &rc, const LabelProps &p, COLORREF face) {
    const int32_t width = p.frame_width;
    for (int32_t i = 0; i < width && rc.right > rc.left && rc.bottom > rc.top; ++i) {
        UniqueBrush brush(CreateSolidBrush(GradientColour(p.frame_colours, face, i, width)));
        FrameRect(dc, &rc, brush.get());
        InflateRect(&rc, -1, -1);
    }
}

void DrawGradientBackground(HDC dc, const RECT &rc, const LabelProps &p, COLORREF face) {
    const bool horizontal = p.gradient_background == 1;
    const int32_t span = horizontal ? rc.right - rc.left : rc.bottom - rc.top;
    for (int32_t i = 0; i < span; ++i) {
        RECT line = rc;
        if (horizontal) {
            line.left = rc.left + i;
            line.right = line.left + 1;
        } else {
            line.top = rc.top + i;
            line.bottom = line.top + 1;
        }
        FillSolid(dc, line, GradientColour(p.gradient_colours, face, i, span));
    }
}

// The label's own text in UTF-16, as it was set: painted as it stands, never through a code
// page.
std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
    n = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

LiveUnit *UnitOf(HWND hwnd) {
    return reinterpret_cast<LiveUnit *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void RaiseFocusEvent(HWND hwnd, int32_t event) {
    if (LiveUnit *unit = UnitOf(hwnd))
        RaiseEvent(unit->owner->id(), unit->index, event);
}

} // namespace

void PaintLabel(HDC dc, const RECT &client, const RECT &area, const LabelProps &p,
                const wchar_t *text) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    RECT rc = client;
    if (p.border == 6 && p.frame_width > 0)
        DrawGradientFrame(dc, rc, p, face);
    // A picture would be drawn here by its picture mode; the labels of this program have none.
    RECT fill;
    if (p.picture.empty() && p.gradient_background != 0)
        DrawGradientBackground(dc, rc, p, face);
    else if (IntersectRect(&fill, &rc, &area))
        FillSolid(dc, fill, ResolveColour(p.background, face));

    if (!text || !text[0])
        return;
    UniqueFont own_font = FontFromDescription(p.font);
    HGDIOBJ font =
        own_font.valid() ? static_cast<HGDIOBJ>(own_font.get()) : GetStockObject(DEFAULT_GUI_FONT);
    SelectScope select(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = LabelDrawFlags(p.horizontal_alignment, p.word_wrap, p.vertical_alignment);
    for (const TextPass &pass : LabelTextPasses(p.effect)) {
        SetTextColor(dc, pass.text_colour ? ResolveColour(p.text_colour, face) : pass.colour);
        RECT r = rc;
        OffsetRect(&r, pass.dx, pass.dy);
        DrawTextW(dc, text, -1, &r, flags);
    }
}

LRESULT CALLBACK LabelControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCREATE: {
        auto *cs = reinterpret_cast<CREATESTRUCTW *>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        break;
    }
    case WM_ERASEBKGND:
        return 1; // the paint fills the whole rectangle
    case WM_PAINT: {
        PaintScope paint(hwnd);
        LiveUnit *unit = UnitOf(hwnd);
        if (unit && unit->record->label) {
            RECT client;
            GetClientRect(hwnd, &client);
            PaintLabel(paint.dc(), client, paint.area(), *unit->record->label,
                       WindowText(hwnd).c_str());
        }
        return 0;
    }
    case WM_PRINTCLIENT: {
        LiveUnit *unit = UnitOf(hwnd);
        if (unit && unit->record->label) {
            RECT client;
            GetClientRect(hwnd, &client);
            PaintLabel(reinterpret_cast<HDC>(wp), client, client, *unit->record->label,
                       WindowText(hwnd).c_str());
        }
        return 0;
    }
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, FALSE);
        return r;
    }
    case WM_SETFONT:
        if (LiveUnit *unit = UnitOf(hwnd))
            unit->shown_font = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT: {
        LiveUnit *unit = UnitOf(hwnd);
        return reinterpret_cast<LRESULT>(unit ? unit->shown_font : nullptr);
    }
    case WM_SETFOCUS:
        RaiseFocusEvent(hwnd, event::kGotFocus);
        return 0;
    case WM_KILLFOCUS:
        RaiseFocusEvent(hwnd, event::kLostFocus);
        return 0;
    case WM_SETCURSOR: {
        LiveUnit *unit = UnitOf(hwnd);
        if (unit && unit->cursor && LOWORD(lp) == HTCLIENT) {
            SetCursor(unit->cursor);
            return TRUE;
        }
        break;
    }
    case kUnitWindowComplete:
        return 0;
    case WM_NCDESTROY:
        if (LiveUnit *unit = UnitOf(hwnd))
            unit->hwnd = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace korvanta
