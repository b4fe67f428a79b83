#include "shell/window_style.h"

#include "base/platform_values.h"

#include <gtest/gtest.h>

namespace korvanta {
namespace {
using namespace win;

constexpr int32_t kScreenX = 1024, kScreenY = 768;

WindowPlacement Derive(const WindowProps &p) {
    return DeriveWindowPlacement(p, 50, 50, 276, 201, kScreenX, kScreenY);
}

TEST(WindowPlacement, EveryBorderStyle) {
    struct Case {
        int32_t border;
        uint32_t style;
        uint32_t ex_style;
    };
    const uint32_t base = kWsClipChildren | kWsCaption | kWsSysMenu; // title and control button
    const Case cases[] = {
        {0, kWsClipChildren, 0},
        {1, base | kWsThickFrame, 0},
        {2, base, 0},
        {3, base | kWsThickFrame, kWsExToolWindow},
        {4, base, kWsExToolWindow},
        {5, base | kWsThickFrame, kWsExClientEdge},
        {6, base, kWsExClientEdge},
    };
    for (const Case &c : cases) {
        WindowProps p;
        p.title = "Korvanta";
        p.border_style = c.border;
        WindowPlacement w = Derive(p);
        EXPECT_EQ(w.style, c.style) << "border " << c.border;
        EXPECT_EQ(w.ex_style, c.ex_style) << "border " << c.border;
        EXPECT_EQ(w.caption_bits, c.style & kWsCaption) << "border " << c.border;
    }
}

TEST(WindowPlacement, CaptionNeedsATitleOrTheControlButton) {
    struct Case {
        const char *title;
        bool control_button;
        uint32_t style;
    };
    const Case cases[] = {
        {"Korvanta", true, kWsClipChildren | kWsCaption | kWsSysMenu},
        {"Korvanta", false, kWsClipChildren | kWsCaption},
        {"", true, kWsClipChildren | kWsCaption | kWsSysMenu},
        {"", false, kWsClipChildren | kWsDlgFrame},
    };
    for (const Case &c : cases) {
        WindowProps p;
        p.title = c.title;
        p.control_button = c.control_button;
        p.border_style = 2;
        EXPECT_EQ(Derive(p).style, c.style) << '"' << c.title << "\" " << c.control_button;
    }
    // Without a border there is no caption whatever the title says.
    WindowProps none;
    none.title = "Korvanta";
    none.border_style = 0;
    EXPECT_EQ(Derive(none).style & kWsCaption, 0u);
}

TEST(WindowPlacement, MinimiseAndMaximiseButtons) {
    for (int bits = 0; bits < 4; ++bits) {
        WindowProps p;
        p.title = "t";
        p.minimise_button = bits & 1;
        p.maximise_button = bits & 2;
        WindowPlacement w = Derive(p);
        EXPECT_EQ((w.style & kWsMinimizeBox) != 0, p.minimise_button) << bits;
        EXPECT_EQ((w.style & kWsMaximizeBox) != 0, p.maximise_button) << bits;
    }
}

TEST(WindowPlacement, EveryPositionWithEveryBorder) {
    for (int32_t border = 0; border <= 6; ++border) {
        const bool sizable = border == 1 || border == 3 || border == 5;
        for (int32_t position = 0; position <= 3; ++position) {
            WindowProps p;
            p.title = "t";
            p.border_style = border;
            p.position = position;
            WindowPlacement w = Derive(p);
            SCOPED_TRACE(testing::Message() << "border " << border << " position " << position);
            EXPECT_EQ(w.width, 276);
            EXPECT_EQ(w.height, 201);
            if (position == 1) {
                EXPECT_EQ(w.x, (1024 - 276) / 2);
                EXPECT_EQ(w.y, (768 - 201) / 2);
            } else {
                EXPECT_EQ(w.x, 50);
                EXPECT_EQ(w.y, 50);
            }
            EXPECT_EQ((w.style & kWsMinimize) != 0, position == 2);
            EXPECT_EQ((w.style & kWsMaximize) != 0, position == 3 && sizable);
            int expected_show = position == 2              ? kSwShowMinimized
                                : position == 3 && sizable ? kSwShowMaximized
                                                           : kSwShow;
            EXPECT_EQ(w.show_command, expected_show);
        }
    }
}

TEST(WindowPlacement, CentringUsesIntegerDivisionOfTheScreen) {
    WindowProps p;
    p.position = 1;
    WindowPlacement w = DeriveWindowPlacement(p, 0, 0, 276, 201, 1023, 767);
    EXPECT_EQ(w.x, 373); // (1023 - 276) / 2 = 373.5
    EXPECT_EQ(w.y, 283); // (767 - 201) / 2 = 283
}

TEST(WindowPlacement, TaskbarMovableAndTopmost) {
    WindowProps p;
    WindowPlacement plain = Derive(p);
    EXPECT_FALSE(plain.hidden_owner);
    EXPECT_FALSE(plain.remove_move);
    EXPECT_FALSE(plain.topmost);
    p.show_in_taskbar = false;
    p.movable = false;
    p.always_on_top = true;
    WindowPlacement w = Derive(p);
    EXPECT_TRUE(w.hidden_owner);
    EXPECT_TRUE(w.remove_move);
    EXPECT_TRUE(w.topmost);
}

TEST(ControlStyle, ButtonsFromTypeAndAlignment) {
    struct Case {
        int32_t type, horizontal, vertical;
        uint32_t expected;
    };
    const uint32_t common = kWsChild | kWsClipSiblings | kWsTabStop | kBsMultiLine;
    const Case cases[] = {
        {0, 1, 1, common | kBsPushButton | kBsCenter | kBsVCenter},
        {1, 1, 1, common | kBsDefPushButton | kBsCenter | kBsVCenter},
        {0, 0, 0, common | kBsLeft | kBsTop},
        {0, 2, 2, common | kBsRight | kBsBottom},
    };
    for (const Case &c : cases) {
        ButtonProps b;
        b.type = c.type;
        b.horizontal_alignment = c.horizontal;
        b.vertical_alignment = c.vertical;
        UnitRecord u{.type = UnitType::Button, .flags = kUnitVisible | kUnitTabStop, .button = &b};
        EXPECT_EQ(DeriveControlStyle(u).style, c.expected) << c.type << c.horizontal << c.vertical;
    }
}

TEST(ControlStyle, EditBoxesFromTheirProperties) {
    struct Case {
        EditBoxProps props;
        uint32_t style;
        uint32_t ex_style;
    };
    const uint32_t common = kWsChild | kWsClipSiblings | kWsTabStop;
    const Case cases[] = {
        // 编辑框1: centred, read-only, single line, no border.
        {{.alignment = 1, .input_mode = 1}, common | kEsAutoHScroll | kEsCenter | kEsReadOnly, 0},
        {{.border = 1, .alignment = 2, .input_mode = 2},
         common | kEsAutoHScroll | kEsRight | kEsPassword,
         kWsExClientEdge},
        {{.border = 2, .hide_selection = false, .case_conversion = 1},
         common | kEsAutoHScroll | kWsBorder | kEsNoHideSel | kEsUpperCase,
         0},
        {{.multiline = true, .scroll_bars = 2, .case_conversion = 2},
         common | kEsMultiLine | kEsAutoVScroll | kWsVScroll | kEsLowerCase,
         0},
        {{.multiline = true, .scroll_bars = 3},
         common | kEsMultiLine | kEsAutoVScroll | kWsVScroll | kWsHScroll | kEsAutoHScroll,
         0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        UnitRecord u{.type = UnitType::EditBox,
                     .flags = kUnitVisible | kUnitTabStop,
                     .edit_box = &cases[i].props};
        ControlStyle s = DeriveControlStyle(u);
        EXPECT_EQ(s.style, cases[i].style) << "case " << i;
        EXPECT_EQ(s.ex_style, cases[i].ex_style) << "case " << i;
    }
}

TEST(ControlStyle, FlagsGiveDisabledAndTabStopNeverVisible) {
    LabelProps l;
    UnitRecord label{.type = UnitType::Label, .flags = kUnitVisible, .label = &l};
    EXPECT_EQ(DeriveControlStyle(label).style, kWsChild | kWsClipSiblings);
    label.flags = kUnitVisible | kUnitDisabled | kUnitTabStop;
    EXPECT_EQ(DeriveControlStyle(label).style,
              kWsChild | kWsClipSiblings | kWsDisabled | kWsTabStop);
}

TEST(EditBoxHeight, SingleLineGrowsToTextHeightAndTwoEdges) {
    EXPECT_EQ(EditBoxHeight(16, false, 13, 2), 17);
    EXPECT_EQ(EditBoxHeight(16, false, 12, 2), 16);
    EXPECT_EQ(EditBoxHeight(30, false, 13, 2), 30);
    EXPECT_EQ(EditBoxHeight(16, true, 13, 2), 16); // multiline keeps its height
}

} // namespace
} // namespace korvanta
