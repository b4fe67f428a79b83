#pragma once
// Owners of the window-layer handles: each closes its handle exactly once, none can be copied.

#include <windows.h>

#include <utility>

namespace korvanta {

template <typename Handle, typename Close> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    UniqueHandle(const UniqueHandle &) = delete;
    UniqueHandle &operator=(const UniqueHandle &) = delete;
    UniqueHandle(UniqueHandle &&other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    UniqueHandle &operator=(UniqueHandle &&other) noexcept {
        if (this != &other)
            reset(std::exchange(other.h_, nullptr));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(Handle h = nullptr) {
        if (h_)
            Close{}(h_);
        h_ = h;
    }
    Handle release() { return std::exchange(h_, nullptr); }

private:
    Handle h_ = nullptr;
};

struct CloseGdiObject {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct CloseIcon {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct CloseWindow {
    void operator()(HWND h) const { DestroyWindow(h); }
};
struct CloseMemoryDc {
    void operator()(HDC h) const { DeleteDC(h); }
};
struct CloseKernelHandle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};

using UniqueFont = UniqueHandle<HFONT, CloseGdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, CloseGdiObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, CloseGdiObject>;
using UniqueIcon = UniqueHandle<HICON, CloseIcon>;
using UniqueWindow = UniqueHandle<HWND, CloseWindow>;
using UniqueMemoryDc = UniqueHandle<HDC, CloseMemoryDc>;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;

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
