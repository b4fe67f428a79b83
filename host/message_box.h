#pragma once
// The modal message box: shows a text with a caption, buttons and icon from the flags, and
// returns which button was pressed.

#include "host/typed_value.h"

#include <cstdint>

namespace korvanta {

// Shows the box on the calling thread with no owner, task-modal unless flags ask for
// system-modal, and returns after it is dismissed: OK 0, Cancel 1, Abort 2, Retry 3,
// Ignore 4, Yes 5, No 6, and 0 when no box could be shown. The message may be any value
// (see RenderValueText); flags are the platform's style bits (omitted: 0, one OK button,
// no icon); an omitted caption gives "信息：".
int32_t ShowMessage(const TypedValue &message, const TypedValue &flags, const TypedValue &caption);

// The text with the default caption.
inline int32_t ShowMessage(const char *text, int32_t flags = 0) {
    return ShowMessage(TypedValue::Text(text), TypedValue::Integer(flags), TypedValue::Omitted());
}

} // namespace korvanta
