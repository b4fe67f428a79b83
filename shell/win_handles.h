#pragma once
// Owners of the window-layer handles: each closes its handle exactly once, none can be copied.

#include "base/unique_handle.h"

#include <windows.h>

namespace korvanta {

template <typename Object> bool DeleteGdiObject(Object object) {
    return DeleteObject(object) != FALSE;
}
inline bool DestroyIconHandle(HICON icon) {
    return DestroyIcon(icon) != FALSE;
}
inline bool DestroyWindowHandle(HWND hwnd) {
    return DestroyWindow(hwnd) != FALSE;
}
inline bool DeleteMemoryDc(HDC dc) {
    return DeleteDC(dc) != FALSE;
}
// A DC of the whole screen, from GetDC(nullptr).
inline bool ReleaseScreenDc(HDC dc) {
    return ReleaseDC(nullptr, dc) != 0;
}

using UniqueFont = UniqueHandle<HFONT, &DeleteGdiObject<HFONT>>;
using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteGdiObject<HBITMAP>>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteGdiObject<HBRUSH>>;
using UniqueMemoryDc = UniqueHandle<HDC, &DeleteMemoryDc>;
using UniqueScreenDc = UniqueHandle<HDC, &ReleaseScreenDc>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIconHandle>;
using UniqueWindow = UniqueHandle<HWND, &DestroyWindowHandle>;

// Selects an object into a DC for one scope and puts the previous one back.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectScope(const SelectScope &) = delete;
    SelectScope &operator=(const SelectScope &) = delete;
    ~SelectScope() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint .. EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    PaintScope(const PaintScope &) = delete;
    PaintScope &operator=(const PaintScope &) = delete;
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    HDC dc() const { return dc_; }
    const RECT &area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    HDC dc_;
    PAINTSTRUCT ps_{};
};

} // namespace korvanta
