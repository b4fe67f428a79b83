#include "tests/wine/icon_kind.h"

#include "shell/win_handles.h"
#include "tests/wine/checked.h"
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

// Selects an object into a DC; the object it replaced.
HGDIOBJ Select(HDC dc, HGDIOBJ object) {
    HGDIOBJ old = SelectObject(dc, object);
    if (!old || old == HGDI_ERROR)
        Fail("SelectObject");
    return old;
}

// A memory DC with a bitmap of the screen's format selected into it: drawn on, then read once.
// TakePixels gives both back and checks that they were; after a failure the owners do it.
class Canvas {
public:
    Canvas(HDC screen, int width, int height)
        : bitmap_(Checked(CreateCompatibleBitmap(screen, width, height), "CreateCompatibleBitmap")),
          dc_(Checked(CreateCompatibleDC(screen), "CreateCompatibleDC")),
          old_(Select(dc_.get(), bitmap_.get())), width_(width), height_(height) {}
    HDC dc() const { return dc_.get(); }

    // Top-down rows of 0x00RRGGBB.
    std::vector<uint32_t> TakePixels() {
        // The bitmap may not be selected into a DC while GetDIBits reads it.
        Select(dc_.get(), old_);
        BITMAPINFO info = korvanta::test::TopDownBitmap(width_, height_);
        std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_);
        Checked(GetDIBits(dc_.get(), bitmap_.get(), 0, height_, pixels.data(), &info,
                          DIB_RGB_COLORS) == height_,
                "GetDIBits");
        Checked(dc_.Close(), "DeleteDC");
        Checked(bitmap_.Close(), "DeleteObject");
        return pixels;
    }

private:
    // Before the DC, so that the DC, which may still hold it, goes first.
    korvanta::UniqueBitmap bitmap_;
    korvanta::UniqueMemoryDc dc_;
    HGDIOBJ old_;
    int width_, height_;
};

korvanta::UniqueScreenDc ScreenDc() {
    return korvanta::UniqueScreenDc(Checked(GetDC(nullptr), "GetDC"));
}

std::vector<uint32_t> CaptureScreen(const RECT &r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    korvanta::UniqueScreenDc screen = ScreenDc();
    Canvas canvas(screen.get(), width, height);
    Checked(
        BitBlt(canvas.dc(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY | CAPTUREBLT),
        "BitBlt");
    std::vector<uint32_t> pixels = canvas.TakePixels();
    Checked(screen.Close(), "ReleaseDC");
    return pixels;
}

std::vector<uint32_t> DrawSystemIcon(LPCSTR resource, int width, int height, uint32_t background) {
    korvanta::UniqueScreenDc screen = ScreenDc();
    Canvas canvas(screen.get(), width, height);
    korvanta::UniqueBrush brush(Checked(
        CreateSolidBrush(RGB(background >> 16 & 255, background >> 8 & 255, background & 255)),
        "CreateSolidBrush"));
    RECT all{0, 0, width, height};
    Checked(FillRect(canvas.dc(), &all, brush.get()), "FillRect");
    Checked(brush.Close(), "DeleteObject");
    // Shared system icons: never destroyed.
    Checked(DrawIconEx(canvas.dc(), 0, 0, Checked(LoadIconA(nullptr, resource), "LoadIconA"), width,
                       height, 0, nullptr, DI_NORMAL),
            "DrawIconEx");
    std::vector<uint32_t> pixels = canvas.TakePixels();
    Checked(screen.Close(), "ReleaseDC");
    return pixels;
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
    Checked(GetClientRect(hwnd, &client), "GetClientRect", hwnd);
    POINT origin{0, 0};
    Checked(ClientToScreen(hwnd, &origin), "ClientToScreen", hwnd);
    return {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

// All monitors together. Its origin may well be 0, so only its size tells a failure.
RECT VirtualScreen() {
    const long left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const long top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + Checked(GetSystemMetrics(SM_CXVIRTUALSCREEN), "GetSystemMetrics"),
            top + Checked(GetSystemMetrics(SM_CYVIRTUALSCREEN), "GetSystemMetrics")};
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
    explicit OnScreen(HWND control)
        : top_(Checked(GetAncestor(control, GA_ROOT), "GetAncestor", control)) {
        const RECT r = ClientOnScreen(control);
        const RECT screen = VirtualScreen();
        const long dx = IntoRange(r.left, r.right, screen.left, screen.right);
        const long dy = IntoRange(r.top, r.bottom, screen.top, screen.bottom);
        if (dx || dy) {
            Checked(GetWindowRect(top_, &was_), "GetWindowRect", top_);
            Checked(MoveTo(was_.left + dx, was_.top + dy), "SetWindowPos", top_);
            moved_ = true;
        }
    }
    // On the way out of a failure, which is what gets reported, the box is put back if it
    // still can be.
    ~OnScreen() {
        if (moved_)
            MoveTo(was_.left, was_.top);
    }
    OnScreen(const OnScreen &) = delete;
    OnScreen &operator=(const OnScreen &) = delete;

    void PutBack() {
        if (moved_)
            Checked(MoveTo(was_.left, was_.top), "SetWindowPos", top_);
        moved_ = false;
    }

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
    on_screen.PutBack();
    return match;
}
