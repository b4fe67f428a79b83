#include "shell/message_dispatch.h"

#include "shell/keyboard.h"
#include "shell/live_window.h"

namespace korvanta {

bool PreTranslateLoopMessage(MSG &msg) {
    for (HWND h = msg.hwnd; h; h = GetAncestor(h, GA_PARENT)) {
        if (LiveWindow *window = FindLiveWindowByHwnd(h))
            return PreTranslateKey(*window, msg);
        if (h == GetDesktopWindow())
            break;
    }
    return false;
}

void DispatchLoopMessage(MSG &msg) {
    if (PreTranslateLoopMessage(msg))
        return;
    // The W calls throughout: a Unicode window gets its characters as UTF-16 only when the
    // loop fetches and dispatches them with the wide calls.
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void DispatchPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT)
            break;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            break;
        if (msg.message == WM_QUIT) {
            // Something posted it between the two looks: put it back for the loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchLoopMessage(msg);
    }
}

} // namespace korvanta
