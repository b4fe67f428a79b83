#pragma once
// Owners of the window-layer handles: each closes its handle exactly once, none can be copied.

#include "host/handles.h"

#include <windows.h>

namespace korvanta {

template <typename Handle> struct GdiObjectTraits {
    using Raw = Handle;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr; }
    static bool Close(Raw h) { return DeleteObject(h) != FALSE; }
};

struct IconTraits {
    using Raw = HICON;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr; }
    static bool Close(Raw h) { return DestroyIcon(h) != FALSE; }
};

struct WindowTraits {
    using Raw = HWND;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr; }
    static bool Close(Raw h) { return DestroyWindow(h) != FALSE; }
};

struct MemoryDcTraits {
    using Raw = HDC;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr; }
    static bool Close(Raw h) { return DeleteDC(h) != FALSE; }
};

using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;

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
