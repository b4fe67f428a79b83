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
    return MessageResultCode(MessageBoxA(nullptr, text, title, style));
}

} // namespace korvanta
