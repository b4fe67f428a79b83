#include "host/message_box.h"

#include "host/value_render.h"

#include <windows.h>

namespace korvanta {

int32_t ShowMessage(const TypedValue &message, const TypedValue &flags, const TypedValue &caption) {
    RenderBuffer text_buffer;
    RenderBuffer caption_buffer;
    const char *text = RenderValueText(message, text_buffer);
    const char *title = CaptionText(caption, caption_buffer);
    auto style = static_cast<UINT>(MessageStyle(FlagsValue(flags)));
    // The box has no owner, so closing it leaves the thread without an active window unless
    // a window manager steps in; the window that was active gets the keyboard back.
    HWND active = GetActiveWindow();
    int result = MessageBoxA(nullptr, text, title, style);
    if (active && IsWindow(active) && IsWindowEnabled(active) && !GetActiveWindow())
        SetActiveWindow(active);
    return MessageResultCode(result);
}

} // namespace korvanta
