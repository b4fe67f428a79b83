#include "host/message_box.h"

#include "base/wide_win.h"
#include "host/value_render.h"

#include <windows.h>

namespace korvanta {

int32_t ShowMessage(const TypedValue &message, const TypedValue &flags, const TypedValue &caption) {
    RenderBuffer text_buffer;
    RenderBuffer caption_buffer;
    // A text that is not UTF-8 is not shown at all: turned into other characters it would tell
    // the player something else.
    const std::optional<std::wstring> text = ToWide(RenderValueText(message, text_buffer));
    const std::optional<std::wstring> title = ToWide(CaptionText(caption, caption_buffer));
    if (!text || !title)
        return MessageResultCode(0);
    auto style = static_cast<UINT>(MessageStyle(FlagsValue(flags)));
    // The box has no owner, so closing it leaves the thread without an active window unless
    // a window manager steps in; the window that was active gets the keyboard back.
    HWND active = GetActiveWindow();
    int result = MessageBoxW(nullptr, text->c_str(), title->c_str(), style);
    if (active && IsWindow(active) && IsWindowEnabled(active) && !GetActiveWindow())
        SetActiveWindow(active);
    return MessageResultCode(result);
}

} // namespace korvanta
