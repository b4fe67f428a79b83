#pragma once
// The label control: a window class of the program's own that paints its text itself.

#include "shell/unit_record.h"

#include <windows.h>

namespace korvanta {

LRESULT CALLBACK LabelControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Draws the label into `dc`: `client` is the label's client rectangle, `area` the part of it
// to paint (the update area). The text is the label's UTF-16 window text, drawn with the
// wide call so that it shows the same characters whatever the system's code page.
void PaintLabel(HDC dc, const RECT &client, const RECT &area, const LabelProps &props,
                const wchar_t *text);

} // namespace korvanta
