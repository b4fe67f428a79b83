#include "tests/support/windows.h"

#include <cstring>

namespace korvanta::test {
namespace {

BOOL CALLBACK Visit(HWND hwnd, LPARAM lp) {
    auto &[pid, visit] =
        *reinterpret_cast<std::pair<DWORD, const std::function<bool(HWND)> *> *>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    return owner != pid || (*visit)(hwnd);
}

bool Matches(HWND hwnd, const char *class_name, const char *caption, bool visible) {
    char text[256] = {};
    if (class_name &&
        (!GetClassNameA(hwnd, text, sizeof text) || std::strcmp(text, class_name) != 0))
        return false;
    if (caption) {
        text[0] = '\0';
        GetWindowTextA(hwnd, text, sizeof text);
        if (std::strcmp(text, caption) != 0)
            return false;
    }
    return !visible || IsWindowVisible(hwnd);
}

} // namespace

void ForEachProcessWindow(DWORD pid, const std::function<bool(HWND)> &visit) {
    std::pair<DWORD, const std::function<bool(HWND)> *> request{pid, &visit};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&request));
}

HWND FindProcessWindow(DWORD pid, const char *class_name, const char *caption, bool visible) {
    HWND found = nullptr;
    ForEachProcessWindow(pid, [&](HWND hwnd) {
        if (!Matches(hwnd, class_name, caption, visible))
            return true;
        found = hwnd;
        return false;
    });
    return found;
}

BITMAPINFO TopDownBitmap(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace korvanta::test
