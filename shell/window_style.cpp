#include "shell/window_style.h"

#include "base/platform_values.h"

namespace korvanta {
using namespace win;

namespace {
bool Sizable(int32_t border) {
    return border == 1 || border == 3 || border == 5;
}
} // namespace

WindowPlacement DeriveWindowPlacement(const WindowProps &props, int32_t left, int32_t top,
                                      int32_t width, int32_t height, int32_t screen_cx,
                                      int32_t screen_cy) {
    WindowPlacement p;
    p.style = kWsClipChildren;
    const int32_t border = props.border_style;
    if (border != 0) {
        p.style |= kWsDlgFrame;
        bool has_title = props.title && props.title[0] != '\0';
        if (has_title || props.control_button)
            p.style |= kWsCaption;
        if (props.control_button)
            p.style |= kWsSysMenu;
    }
    if (Sizable(border))
        p.style |= kWsThickFrame;
    if (border == 3 || border == 4)
        p.ex_style |= kWsExToolWindow;
    if (border == 5 || border == 6)
        p.ex_style |= kWsExClientEdge;
    if (props.maximise_button)
        p.style |= kWsMaximizeBox;
    if (props.minimise_button)
        p.style |= kWsMinimizeBox;

    p.x = left;
    p.y = top;
    p.width = width;
    p.height = height;
    p.show_command = kSwShow;
    switch (props.position) {
    case 1:
        p.x = (screen_cx - width) / 2;
        p.y = (screen_cy - height) / 2;
        break;
    case 2:
        p.style |= kWsMinimize;
        p.show_command = kSwShowMinimized;
        break;
    case 3:
        if (Sizable(border)) {
            p.style |= kWsMaximize;
            p.show_command = kSwShowMaximized;
        }
        break;
    default:
        break;
    }
    p.hidden_owner = !props.show_in_taskbar;
    p.remove_move = !props.movable;
    p.topmost = props.always_on_top;
    p.caption_bits = p.style & kWsCaption;
    return p;
}

namespace {

uint32_t CommonChildStyle(const UnitRecord &unit) {
    uint32_t style = kWsChild | kWsClipSiblings;
    if (unit.flags & kUnitDisabled)
        style |= kWsDisabled;
    if (unit.flags & kUnitTabStop)
        style |= kWsTabStop;
    return style;
}

uint32_t ButtonAlignment(int32_t horizontal, int32_t vertical) {
    uint32_t style = horizontal == 0 ? kBsLeft : horizontal == 2 ? kBsRight : kBsCenter;
    style |= vertical == 0 ? kBsTop : vertical == 2 ? kBsBottom : kBsVCenter;
    return style;
}

ControlStyle EditStyle(const EditBoxProps &e) {
    ControlStyle s;
    s.style |= e.alignment == 1 ? kEsCenter : e.alignment == 2 ? kEsRight : kEsLeft;
    if (e.multiline) {
        s.style |= kEsMultiLine | kEsAutoVScroll;
        // Without a horizontal scroll bar a multiline box wraps its lines.
        if (e.scroll_bars & 1)
            s.style |= kWsHScroll | kEsAutoHScroll;
        if (e.scroll_bars & 2)
            s.style |= kWsVScroll;
    } else {
        s.style |= kEsAutoHScroll;
    }
    if (e.input_mode == 1)
        s.style |= kEsReadOnly;
    else if (e.input_mode == 2 && !e.multiline)
        s.style |= kEsPassword;
    if (!e.hide_selection)
        s.style |= kEsNoHideSel;
    if (e.case_conversion == 1)
        s.style |= kEsUpperCase;
    else if (e.case_conversion == 2)
        s.style |= kEsLowerCase;
    if (e.border == 1)
        s.ex_style |= kWsExClientEdge;
    else if (e.border == 2)
        s.style |= kWsBorder;
    return s;
}

} // namespace

ControlStyle DeriveControlStyle(const UnitRecord &unit) {
    ControlStyle s;
    switch (unit.type) {
    case UnitType::Label:
        s.style = CommonChildStyle(unit);
        break;
    case UnitType::Button: {
        s.style = CommonChildStyle(unit) | kBsMultiLine;
        const ButtonProps &b = *unit.button;
        s.style |= b.type == 1 ? kBsDefPushButton : kBsPushButton;
        s.style |= ButtonAlignment(b.horizontal_alignment, b.vertical_alignment);
        break;
    }
    case UnitType::EditBox: {
        s = EditStyle(*unit.edit_box);
        s.style |= CommonChildStyle(unit);
        break;
    }
    case UnitType::Window:
    case UnitType::Zip:
        break;
    }
    return s;
}

int32_t EditBoxHeight(int32_t design_height, bool multiline, int32_t text_height, int32_t cy_edge) {
    if (multiline)
        return design_height;
    int32_t least = text_height + 2 * cy_edge;
    return design_height < least ? least : design_height;
}

} // namespace korvanta
