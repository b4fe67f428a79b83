#include "tests/bench/icon_kind.h"

#include "tests/support/windows.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

const IconKind kIconKinds[kIconKindCount] = {{"error", IDI_HAND},
                                             {"warning", IDI_EXCLAMATION},
                                             {"information", IDI_ASTERISK},
                                             {"question", IDI_QUESTION}};

namespace {

// Mean difference per pixel (sum over the three channels) under which two images are taken
// for the same icon. The same icon drawn the same way matches exactly; the closest two
// system icons (information and question, both round and blue under Wine) are about 15 apart.
constexpr double kSameIcon = 8.0;

class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc &) = delete;
    ScreenDc &operator=(const ScreenDc &) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A memory DC with a bitmap of the screen's format selected into it.
class Canvas {
public:
    Canvas(HDC screen, int width, int height)
        : dc_(CreateCompatibleDC(screen)), bitmap_(CreateCompatibleBitmap(screen, width, height)),
          old_(SelectObject(dc_, bitmap_)), width_(width), height_(height) {}
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;
    HDC dc() const { return dc_; }

    // Top-down rows of 0x00RRGGBB.
    std::vector<uint32_t> Pixels() const {
        BITMAPINFO info = korvanta::test::TopDownBitmap(width_, height_);
        std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_);
        // The bitmap may not be selected into a DC while GetDIBits reads it.
        SelectObject(dc_, old_);
        GetDIBits(dc_, bitmap_, 0, height_, pixels.data(), &info, DIB_RGB_COLORS);
        SelectObject(dc_, bitmap_);
        return pixels;
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    int width_, height_;
};

std::vector<uint32_t> CaptureScreen(const RECT &r) {
    ScreenDc screen;
    Canvas canvas(screen.get(), r.right - r.left, r.bottom - r.top);
    BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left, r.top,
           SRCCOPY | CAPTUREBLT);
    return canvas.Pixels();
}

std::vector<uint32_t> DrawSystemIcon(LPCSTR resource, int width, int height, uint32_t background) {
    ScreenDc screen;
    Canvas canvas(screen.get(), width, height);
    HBRUSH brush =
        CreateSolidBrush(RGB(background >> 16 & 255, background >> 8 & 255, background & 255));
    RECT all{0, 0, width, height};
    FillRect(canvas.dc(), &all, brush);
    DeleteObject(brush);
    // Shared system icons: never destroyed.
    DrawIconEx(canvas.dc(), 0, 0, LoadIconA(nullptr, resource), width, height, 0, nullptr,
               DI_NORMAL);
    return canvas.Pixels();
}

double Distance(const std::vector<uint32_t> &a, const std::vector<uint32_t> &b) {
    double total = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift : {0, 8, 16})
            total += std::abs(static_cast<int>(a[i] >> shift & 255) -
                              static_cast<int>(b[i] >> shift & 255));
    return a.empty() ? 0 : total / static_cast<double>(a.size());
}

IconMatch MatchIcon(const RECT &r) {
    IconMatch match;
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return match;
    std::vector<uint32_t> shown = CaptureScreen(r);
    double best = kSameIcon;
    for (size_t i = 0; i < kIconKindCount; ++i) {
        // The icon's corner is transparent: it shows the static's background.
        match.distance[i] =
            Distance(shown, DrawSystemIcon(kIconKinds[i].resource, width, height, shown[0]));
        if (match.distance[i] < best) {
            best = match.distance[i];
            match.name = kIconKinds[i].name;
        }
    }
    return match;
}

RECT ClientOnScreen(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    return {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

// How far to move a rectangle along one axis to bring it inside [low, high).
long IntoRange(long from, long to, long low, long high) {
    if (from < low)
        return low - from;
    if (to > high)
        return high - to;
    return 0;
}

// Off the screen there are no pixels to read: a box wider than the screen (a long game path
// in its text) is centred with its icon beyond the left edge. For the look such a box is
// moved so that the control is on the screen, and put back afterwards.
class OnScreen {
public:
    explicit OnScreen(HWND control) : top_(GetAncestor(control, GA_ROOT)) {
        const RECT r = ClientOnScreen(control);
        const long left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        const long top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        const long dx =
            IntoRange(r.left, r.right, left, left + GetSystemMetrics(SM_CXVIRTUALSCREEN));
        const long dy = IntoRange(r.top, r.bottom, top, top + GetSystemMetrics(SM_CYVIRTUALSCREEN));
        if ((dx || dy) && GetWindowRect(top_, &was_))
            moved_ = MoveTo(was_.left + dx, was_.top + dy);
    }
    ~OnScreen() {
        if (moved_)
            MoveTo(was_.left, was_.top);
    }
    OnScreen(const OnScreen &) = delete;
    OnScreen &operator=(const OnScreen &) = delete;

private:
    bool MoveTo(long x, long y) {
        return SetWindowPos(top_, nullptr, x, y, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
    }

    HWND top_;
    RECT was_{};
    bool moved_ = false;
};

} // namespace

// A box that has only just been created or moved may not have painted its icon yet, so a
// few looks are taken before giving up on a match.
IconMatch ShownIcon(HWND control) {
    OnScreen on_screen(control);
    IconMatch match;
    for (int attempt = 0; attempt < 10; ++attempt) {
        match = MatchIcon(ClientOnScreen(control));
        if (std::strcmp(match.name, "unknown") != 0)
            break;
        Sleep(100);
    }
    return match;
}
