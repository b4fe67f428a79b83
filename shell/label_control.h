#pragma once
// The label control: a window class of the program's own that paints its text itself.

#include "shell/unit_record.h"

#include <windows.h>

namespace korvanta {

LRESULT CALLBACK LabelControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Draws the label into `dc`: `client` is the label's client rectangle, `area` the part of it
// to paint (the update area).
void PaintLabel(HDC dc, const RECT &client, const RECT &area, const LabelProps &props,
                const char *text);

} // namespace korvanta
