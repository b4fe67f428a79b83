#pragma once
// Windows of another process or thread, found and read from outside it as a user's input
// would reach them, and the bitmap format the tests read pixels in. Texts are read in UTF-16:
// the characters a player sees, whatever the system's code page.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace korvanta::test {

// Calls visit for each top-level window of the process until it returns false.
void ForEachProcessWindow(DWORD pid, const std::function<bool(HWND)> &visit);
// The first top-level window of the process with the class and caption given (null: any);
// `visible` asks for one that is shown. Null when there is none.
HWND FindProcessWindow(DWORD pid, const char *class_name, const wchar_t *caption,
                       bool visible = false);
// A window's text as it shows, asked for without waiting long on a window that is busy; empty
// when it does not answer.
std::wstring WindowText(HWND window);
// A text in UTF-8, for a report; a lone surrogate, which UTF-8 cannot carry, comes out as U+FFFD.
std::string Utf8(const std::wstring &text);

// A message box as it shows, read without waiting long on an owner that is busy.
struct MessageBoxView {
    std::wstring caption, text;
    std::vector<int> buttons; // the visible ones, in order
    bool icon = false;        // it shows one
    bool owned = false;       // it has an owner window
    bool topmost = false;
};
// The process's message box once it is shown, else null.
HWND FindMessageBox(DWORD pid);
MessageBoxView ReadMessageBox(HWND box);
// A button of the box pressed, as a click on it would.
void PressBoxButton(HWND box, int id);

// A 32-bit top-down bitmap of the size given, one 0x00RRGGBB word per pixel.
BITMAPINFO TopDownBitmap(int width, int height);

} // namespace korvanta::test
