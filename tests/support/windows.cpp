#include "tests/support/windows.h"

#include "tests/support/wait_limit.h"

#include <cstring>
#include <cwchar>
#include <optional>

namespace korvanta::test {
namespace {

BOOL CALLBACK Visit(HWND hwnd, LPARAM lp) {
    auto &[pid, visit] =
        *reinterpret_cast<std::pair<DWORD, const std::function<bool(HWND)> *> *>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    return owner != pid || (*visit)(hwnd);
}

bool Matches(HWND hwnd, const char *class_name, const wchar_t *caption, bool visible) {
    char kind[256] = {};
    if (class_name &&
        (!GetClassNameA(hwnd, kind, sizeof kind) || std::strcmp(kind, class_name) != 0))
        return false;
    if (caption) {
        wchar_t text[256] = {};
        GetWindowTextW(hwnd, text, sizeof text / sizeof text[0]);
        if (std::wcscmp(text, caption) != 0)
            return false;
    }
    return !visible || IsWindowVisible(hwnd);
}

// A window of another thread may be inside a long handler: it is given as long as any wait.
std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wp, lp, SMTO_ABORTIFHUNG, kWaitLimitMs, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

BOOL CALLBACK ReadBoxControl(HWND control, LPARAM out) {
    auto &view = *reinterpret_cast<MessageBoxView *>(out);
    char kind[32] = {};
    GetClassNameA(control, kind, sizeof kind);
    if (lstrcmpiA(kind, "Button") == 0) {
        // The box has a button of every kind and hides those it does not show.
        if (IsWindowVisible(control))
            view.buttons.push_back(GetDlgCtrlID(control));
    } else if (lstrcmpiA(kind, "Static") != 0) {
        return TRUE;
    } else if ((GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        // The box always has an icon control; without an icon it holds none.
        view.icon = view.icon || Ask(control, STM_GETICON, 0, 0).value_or(0) != 0;
    } else {
        view.text = WindowText(control);
    }
    return TRUE;
}

} // namespace

void ForEachProcessWindow(DWORD pid, const std::function<bool(HWND)> &visit) {
    std::pair<DWORD, const std::function<bool(HWND)> *> request{pid, &visit};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&request));
}

HWND FindProcessWindow(DWORD pid, const char *class_name, const wchar_t *caption, bool visible) {
    HWND found = nullptr;
    ForEachProcessWindow(pid, [&](HWND hwnd) {
        if (!Matches(hwnd, class_name, caption, visible))
            return true;
        found = hwnd;
        return false;
    });
    return found;
}

std::wstring WindowText(HWND window) {
    wchar_t text[4096];
    const auto copied =
        Ask(window, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text));
    return copied ? std::wstring(text, static_cast<size_t>(*copied)) : std::wstring();
}

std::string Utf8(const std::wstring &text) {
    const int length = static_cast<int>(text.size());
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(
        static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

HWND FindMessageBox(DWORD pid) {
    return FindProcessWindow(pid, "#32770", nullptr, true);
}

MessageBoxView ReadMessageBox(HWND box) {
    MessageBoxView view;
    view.caption = WindowText(box);
    view.owned = GetWindow(box, GW_OWNER) != nullptr;
    view.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    EnumChildWindows(box, &ReadBoxControl, reinterpret_cast<LPARAM>(&view));
    return view;
}

void PressBoxButton(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
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
