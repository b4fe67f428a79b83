#pragma once
// Windows of another process, found from outside it as a user's input would reach them, and
// the bitmap format the tests read pixels in.

#include <windows.h>

#include <functional>

namespace korvanta::test {

// Calls visit for each top-level window of the process until it returns false.
void ForEachProcessWindow(DWORD pid, const std::function<bool(HWND)> &visit);
// The first top-level window of the process with the class and caption given (null: any);
// `visible` asks for one that is shown. Null when there is none.
HWND FindProcessWindow(DWORD pid, const char *class_name, const char *caption,
                       bool visible = false);

// A 32-bit top-down bitmap of the size given, one 0x00RRGGBB word per pixel.
BITMAPINFO TopDownBitmap(int width, int height);

} // namespace korvanta::test
