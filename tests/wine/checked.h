#pragma once
// Win32 calls of the lane's programs, checked. A call that failed because the window it was
// about went away meanwhile throws WindowGone: the program under test may destroy any of its
// windows at any moment. Any other failed call throws CallFailed, with the call's name and the
// error it left.

#include <windows.h>

struct WindowGone {
    HWND hwnd;
};

struct CallFailed {
    const char *call;
    DWORD error;
};

// Throws for a call that has just failed; hwnd is the window it was about, if any.
[[noreturn]] inline void Fail(const char *call, HWND hwnd = nullptr) {
    const DWORD error = GetLastError();
    if (hwnd && (error == ERROR_INVALID_WINDOW_HANDLE || !IsWindow(hwnd)))
        throw WindowGone{hwnd};
    throw CallFailed{call, error};
}

// The result of a call whose FALSE, null or zero means failure.
template <typename Result> Result Checked(Result result, const char *call, HWND hwnd = nullptr) {
    if (!result)
        Fail(call, hwnd);
    return result;
}
