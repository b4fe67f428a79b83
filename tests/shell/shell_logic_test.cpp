#include "shell/shell_logic.h"
#include "shell/unit_record.h"

#include "base/platform_values.h"

#include <gtest/gtest.h>

namespace korvanta {
namespace {

TEST(IdleTracker, PaintTimerAndStillMouseMovesDoNotWantIdle) {
    struct Step {
        uint32_t message;
        int32_t x, y;
        bool wants_idle;
    };
    const Step steps[] = {
        {win::kWmMouseMove, 10, 10, true},    // the first move
        {win::kWmMouseMove, 10, 10, false},   // did not move
        {win::kWmNcMouseMove, 10, 10, false}, // non-client, same place
        {win::kWmNcMouseMove, 11, 10, true},
        {win::kWmMouseMove, 11, 10, false},
        {win::kWmPaint, 0, 0, false},
        {win::kWmSysTimer, 0, 0, false},
        {0x0100 /* WM_KEYDOWN */, 11, 10, true},
        {0x0113 /* WM_TIMER */, 11, 10, true},
        {win::kWmMouseMove, 11, 10, false}, // other messages do not forget the position
    };
    IdleTracker tracker;
    int i = 0;
    for (const Step &s : steps) {
        EXPECT_EQ(tracker.WantsIdle(s.message, s.x, s.y), s.wants_idle) << "step " << i;
        ++i;
    }
}

TEST(DescriptionIsConsistent, EveryTextOfAUnitMustBeUtf8) {
    // Each text goes to a wide call; one in GBK or cut short would show as other characters.
    const char *const kGbk = "\xCC\xE6\xBB\xBB";
    const char *const kCut = "替\xE6\x8D";
    struct Case {
        const char *what;
        WindowProps window;
        ButtonProps button;
        EditBoxProps edit_box;
        bool consistent;
    };
    const Case cases[] = {
        {"all UTF-8", {.title = "标题𠀀"}, {.caption = "替换(&Y)"}, {.content = "D:\\游戏"}, true},
        {"title in GBK", {.title = kGbk}, {}, {}, false},
        {"class name cut short", {.class_name = kCut}, {}, {}, false},
        {"help file in GBK", {.help_file = kGbk}, {}, {}, false},
        {"caption in GBK", {}, {.caption = kGbk}, {}, false},
        {"content cut short", {}, {}, {.content = kCut}, false},
        {"password character in GBK", {}, {}, {.password_char = kGbk}, false},
    };
    for (const Case &c : cases) {
        const UnitRecord units[] = {
            {.type = UnitType::Window, .window = &c.window},
            {.type = UnitType::Button, .button = &c.button},
            {.type = UnitType::EditBox, .edit_box = &c.edit_box},
        };
        EXPECT_EQ(DescriptionIsConsistent({.id = 1, .units = units}), c.consistent) << c.what;
    }
    const LabelProps label{.text = kCut};
    const UnitRecord named[] = {
        {.type = UnitType::Window, .name = kGbk, .window = &cases[0].window}};
    EXPECT_FALSE(DescriptionIsConsistent({.id = 1, .units = named}));
    const UnitRecord labelled[] = {{.type = UnitType::Window, .window = &cases[0].window},
                                   {.type = UnitType::Label, .label = &label}};
    EXPECT_FALSE(DescriptionIsConsistent({.id = 1, .units = labelled}));
}

} // namespace
} // namespace korvanta
