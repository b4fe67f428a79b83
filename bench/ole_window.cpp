// The start-up baseline: what any program with korvanta.exe's window must do before it is
// seen, and nothing of Korvanta's own. The same manifest (common controls 6, elevation), OLE
// started, a window of the main window's outer size (276 x 201) centred like it, and the same
// four controls at the same places: a text, two buttons and a one-line edit box. No registry,
// no files, no archives: what korvanta.exe needs beyond this is its own start-up work.

#include "bench/ole_window.h"

#include <ole2.h>
#include <windows.h>

namespace {

using korvanta::bench::kOleWindowTitle;

constexpr int kWidth = 276;
constexpr int kHeight = 201;
constexpr wchar_t kClassName[] = L"KorvantaOleWindow";

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

struct Control {
    const char *cls;
    const char *text;
    DWORD style;
    int left, top, width, height, id;
};

// Korvanta's controls, with their texts (GBK), places and control ids.
constexpr Control kControls[] = {
    {"STATIC",
     "  \xcd\xe6\xc4\xe5\xb9\xfa\xb7\xfe\xb5\xc4\xd0\xa1\xc5\xe8\xd3\xd1\xc3\xc7,"
     "\xc0\xb4\xcc\xe5\xd1\xe9\xcc\xe5\xd1\xe9\xcd\xe2\xb7\xfe\xb5\xc4,\r\n\r\n"
     "\xbe\xfc\xcf\xce\xcd\xbc\xb1\xea\xb0\xc9\xa1\xa3",
     SS_LEFT, 16, 24, 232, 48, 140},
    {"BUTTON", "\xbb\xd6\xb8\xb4(&N)", BS_PUSHBUTTON | WS_TABSTOP, 144, 104, 96, 48, 130},
    {"BUTTON", "\xcc\xe6\xbb\xbb(&Y)", BS_PUSHBUTTON | WS_TABSTOP, 24, 104, 88, 48, 120},
    {"EDIT", "", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, 0, 216, 272, 16, 100},
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc))
        return 1;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND hwnd =
        CreateWindowExW(0, kClassName, kOleWindowTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x,
                        y, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    for (const Control &c : kControls) {
        HWND control = CreateWindowExA(
            0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.left, c.top, c.width, c.height,
            hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        if (!control)
            return 1;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(hwnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    OleUninitialize();
    return 0;
}
