#pragma once
// Window and control styles derived from the design properties of a unit. Pure: the Win32
// layer only passes the screen metrics in and applies the result.

#include "shell/unit_record.h"

#include <cstdint>

namespace korvanta {

struct WindowPlacement {
    uint32_t style = 0;
    uint32_t ex_style = 0;
    int32_t x = 0, y = 0, width = 0, height = 0;
    int show_command = 0;      // for the final ShowWindow
    bool hidden_owner = false; // kept out of the taskbar by an invisible owner
    bool remove_move = false;  // delete SC_MOVE from the system menu
    bool topmost = false;      // place HWND_TOPMOST after creation
    uint32_t caption_bits = 0; // the WS_CAPTION part, set again after creation
};

// The top-level window: styles, extended styles and the outer rectangle.
WindowPlacement DeriveWindowPlacement(const WindowProps &props, int32_t left, int32_t top,
                                      int32_t width, int32_t height, int32_t screen_cx,
                                      int32_t screen_cy);

struct ControlStyle {
    uint32_t style = 0;
    uint32_t ex_style = 0;
};

// A child unit's styles, without WS_VISIBLE: every unit is created hidden and shown later.
ControlStyle DeriveControlStyle(const UnitRecord &unit);

// A single-line edit box lower than its font's text height plus two edges is made that tall.
int32_t EditBoxHeight(int32_t design_height, bool multiline, int32_t text_height, int32_t cy_edge);

} // namespace korvanta
