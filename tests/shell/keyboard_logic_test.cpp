#include "shell/keyboard_logic.h"

#include "base/platform_values.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvanta {
namespace {
using namespace win;

// A unit on screen, visible and enabled; the focusable ones are tab stops at their key.
UnitState Shown(UnitType type, const char *caption = nullptr) {
    return {.type = type, .on_screen = true, .visible = true, .enabled = true, .caption = caption};
}
UnitState TabStop(UnitState unit, int32_t key) {
    unit.tab_stop = true;
    unit.tab_order = key;
    return unit;
}
UnitState Window() {
    return Shown(UnitType::Window);
}
UnitState Label(const char *caption) {
    return Shown(UnitType::Label, caption);
}
UnitState Button(const char *caption, int32_t key = 0) {
    return TabStop(Shown(UnitType::Button, caption), key);
}
UnitState Edit(int32_t key = 0) {
    UnitState edit = TabStop(Shown(UnitType::EditBox), key);
    edit.read_only = true;
    return edit;
}
UnitState Zip() {
    return {.type = UnitType::Zip, .tab_stop = true};
}

// The units of MainWindow in list order: window, 标签1, 按钮2, 按钮1, ZIP压缩1, 编辑框1.
std::vector<UnitState> MainUnits() {
    return {Window(), Label("  text"), Button("恢复(&N)"), Button("替换(&Y)"), Zip(), Edit()};
}
constexpr int kLabel1 = 1, kButton2 = 2, kButton1 = 3, kEditBox1 = 5;

KeyName Alt(uint32_t code) {
    return {code, false, false, true};
}

TEST(NameKey, KeypadDigitsAndModifierKeys) {
    struct Case {
        uint32_t vk;
        bool ctrl, shift, alt;
        KeyName expected;
    };
    const Case cases[] = {
        {kVkNumpad0, false, false, false, {'0', false, false, false}},
        {kVkNumpad9, true, false, true, {'9', true, false, true}},
        {'Y', false, false, true, {'Y', false, false, true}},
        {kVkMenu, true, true, true, {kVkMenu, true, true, false}},
        {kVkLMenu, false, false, true, {kVkLMenu, false, false, false}},
        {kVkRMenu, false, false, true, {kVkRMenu, false, false, false}},
        {kVkShift, true, true, true, {kVkShift, true, false, true}},
        {kVkLShift, false, true, false, {kVkLShift, false, false, false}},
        {kVkRControl, true, true, false, {kVkRControl, false, true, false}},
        {kVkControl, true, false, true, {kVkControl, false, false, true}},
        {kVkTab, false, true, false, {kVkTab, false, true, false}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NameKey(c.vk, c.ctrl, c.shift, c.alt), c.expected) << std::hex << c.vk;
}

TEST(TabOrder, LaterListPositionFirstOnEqualKeys) {
    EXPECT_EQ(TabOrder(MainUnits()), (std::vector<int>{kEditBox1, kButton1, kButton2}));
    EXPECT_EQ(FirstFocusUnit(MainUnits()), kEditBox1);
}

TEST(TabOrder, KeysFirstAndOnlyEligibleUnits) {
    struct Case {
        std::vector<UnitState> units;
        std::vector<int> order;
    };
    UnitState hidden = Button("h");
    hidden.visible = false;
    UnitState disabled = Button("d");
    disabled.enabled = false;
    UnitState no_stop = Button("n");
    no_stop.tab_stop = false;
    UnitState label_stop = Label("l");
    label_stop.tab_stop = true; // a label cannot take the focus
    const Case cases[] = {
        {{Window(), Button("a", 2), Button("b", 1), Edit(3)}, {2, 1, 3}},
        {{Window(), Button("a", 5), Edit(-1), Button("b", 5)}, {2, 3, 1}},
        {{Window(), hidden, disabled, no_stop, label_stop, Zip()}, {}},
        {{Window(), hidden, Button("x"), disabled}, {2}},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(TabOrder(cases[i].units), cases[i].order) << "case " << i;
    EXPECT_EQ(FirstFocusUnit(cases[2].units), -1);
    EXPECT_EQ(FirstFocusUnit(cases[0].units), 2);
}

TEST(NextInTabOrder, WrapsBothWaysAndEntersFromOutside) {
    struct Case {
        int current;
        bool backward;
        int next;
    };
    const Case cases[] = {
        {kEditBox1, false, kButton1}, {kButton1, false, kButton2}, {kButton2, false, kEditBox1},
        {kEditBox1, true, kButton2},  {kButton2, true, kButton1},  {kButton1, true, kEditBox1},
        {-1, false, kEditBox1},       {-1, true, kButton2},        {kLabel1, false, kEditBox1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NextInTabOrder(MainUnits(), c.current, c.backward), c.next)
            << c.current << (c.backward ? " back" : " forward");
    EXPECT_EQ(NextInTabOrder(std::vector<UnitState>{Window(), Label("x")}, -1, false), -1);
}

// Captions are UTF-8: no byte of a Chinese character stands for "&" or a letter.
TEST(Mnemonic, CaptionMatch) {
    struct Case {
        const char *caption;
        uint32_t key;
        bool match;
    };
    const Case cases[] = {
        {"替换(&Y)", 'Y', true},     {"替换(&y)", 'Y', true}, {"替换(&Y)", 'N', false},
        {"&&Y", 'Y', false},         {"&&&Y", 'Y', true},     {"Y&", 'Y', false},
        {"&1 first", '1', true},     {"", 'Y', false},        {nullptr, 'Y', false},
        {"no mnemonic", 'N', false}, {"替&&换&N", 'N', true}, {"恢复&&N", 'N', false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CaptionHasMnemonic(c.caption, c.key), c.match)
            << (c.caption ? c.caption : "(null)") << " " << char(c.key);
}

TEST(Mnemonic, SearchInListOrderOverEligibleUnits) {
    std::vector<UnitState> units = MainUnits();
    EXPECT_EQ(FindMnemonicUnit(units, Alt('Y')), kButton1);
    EXPECT_EQ(FindMnemonicUnit(units, Alt('N')), kButton2);
    EXPECT_EQ(FindMnemonicUnit(units, Alt('Q')), -1);
    EXPECT_EQ(FindMnemonicUnit(units, {'Y', true, false, true}), -1);   // Ctrl+Alt
    EXPECT_EQ(FindMnemonicUnit(units, {'Y', false, true, true}), -1);   // Shift+Alt
    EXPECT_EQ(FindMnemonicUnit(units, {'Y', false, false, false}), -1); // no Alt
    EXPECT_EQ(FindMnemonicUnit(units, Alt(kVkF1)), -1);                 // not a letter

    // The first in list order wins; units off screen, hidden or disabled are passed over.
    std::vector<UnitState> twins = {Window(), Button("&A one"), Button("&A two")};
    EXPECT_EQ(FindMnemonicUnit(twins, Alt('A')), 1);
    twins[1].enabled = false;
    EXPECT_EQ(FindMnemonicUnit(twins, Alt('A')), 2);
    twins[2].on_screen = false;
    EXPECT_EQ(FindMnemonicUnit(twins, Alt('A')), -1);
    twins[1].enabled = true;
    twins[1].visible = false;
    EXPECT_EQ(FindMnemonicUnit(twins, Alt('A')), -1);

    // Edit boxes have no mnemonic even with an ampersand in what they show.
    std::vector<UnitState> edit = {Window(), Edit()};
    edit[1].caption = "&E";
    EXPECT_EQ(FindMnemonicUnit(edit, Alt('E')), -1);
}

TEST(DecideKey, MainWindowTable) {
    const KeyOptions options{
        .enter_moves_focus = false, .esc_closes = true, .f1_opens_help = false};
    const KeyName enter{kVkReturn, false, false, false};
    const KeyName tab{kVkTab, false, false, false};
    const KeyName shift_tab{kVkTab, false, true, false};
    const KeyName esc{kVkEscape, false, false, false};
    const KeyName f1{kVkF1, false, false, false};
    struct Case {
        int focused;
        KeyName key;
        KeyAction action;
    };
    using K = KeyActionKind;
    const Case cases[] = {
        {kEditBox1, tab, {K::MoveFocus, kButton1}},
        {kButton2, tab, {K::MoveFocus, kEditBox1}},
        {kEditBox1, shift_tab, {K::MoveFocus, kButton2}},
        {kEditBox1, enter, {K::Nothing, -1}},
        {kButton1, enter, {K::Nothing, -1}},
        {kButton2, enter, {K::Nothing, -1}},
        {kButton1, esc, {K::Close, -1}},
        {kButton1, f1, {K::PassOn, -1}},
        {kEditBox1, Alt('Y'), {K::RaiseClick, kButton1}},
        {kButton1, Alt('N'), {K::RaiseClick, kButton2}},
        {kButton1, Alt('Q'), {K::PassOn, -1}},
        {kButton1, {'Y', true, false, true}, {K::PassOn, -1}},
        {kButton1, {'Y', false, true, true}, {K::PassOn, -1}},
        {kButton1, {kVkLeft, false, false, false}, {K::PassOn, -1}},
        {kButton1, {kVkDown, false, false, false}, {K::PassOn, -1}},
        {kButton1, {' ', false, false, false}, {K::PassOn, -1}},
        {kButton1, {kVkTab, true, false, false}, {K::PassOn, -1}}, // Ctrl+Tab is not Tab
        {kButton1, {kVkEscape, false, true, false}, {K::PassOn, -1}},
    };
    std::vector<UnitState> units = MainUnits();
    for (const Case &c : cases)
        EXPECT_EQ(DecideKey(units, c.focused, c.key, options), c.action)
            << "focus " << c.focused << " key " << std::hex << c.key.code << " ctrl " << c.key.ctrl
            << " shift " << c.key.shift << " alt " << c.key.alt;
}

TEST(DecideKey, EnterRules) {
    const KeyName enter{kVkReturn, false, false, false};
    using K = KeyActionKind;
    UnitState def = Button("&Go");
    def.default_button = true;
    UnitState editable = Edit();
    editable.read_only = false;
    editable.multiline = true;
    std::vector<UnitState> units = {Window(), Button("&A"), def, editable, Edit()};

    // The focused default button clicks; any other focus clicks the first default button.
    EXPECT_EQ(DecideKey(units, 2, enter, {}), (KeyAction{K::RaiseClick, 2}));
    EXPECT_EQ(DecideKey(units, 1, enter, {}), (KeyAction{K::RaiseClick, 2}));
    // A multiline editable edit box claims Enter; a read-only one does not.
    EXPECT_EQ(DecideKey(units, 3, enter, {.enter_moves_focus = true}), (KeyAction{K::PassOn, -1}));
    units[3].read_only = true;
    EXPECT_EQ(DecideKey(units, 3, enter, {.enter_moves_focus = true}),
              (KeyAction{K::MoveFocus, 2}));
    // Enter moves focus comes before the search for a default button.
    EXPECT_EQ(DecideKey(units, 4, enter, {.enter_moves_focus = true}),
              (KeyAction{K::MoveFocus, 3}));
    units[2].enabled = false;
    EXPECT_EQ(DecideKey(units, 1, enter, {}), (KeyAction{K::Nothing, -1}));
}

TEST(DecideKey, EscF1AndLabelMnemonics) {
    using K = KeyActionKind;
    std::vector<UnitState> units = {Window(), Label("&Path:"), Edit(), Button("&OK")};
    EXPECT_EQ(DecideKey(units, 3, {kVkEscape, false, false, false}, {}),
              (KeyAction{K::PassOn, -1}));
    EXPECT_EQ(DecideKey(units, 3, {kVkF1, false, false, false}, {.f1_opens_help = true}),
              (KeyAction{K::OpenHelp, -1}));
    // A label's mnemonic moves the focus on to the next tab-stop unit in list order.
    EXPECT_EQ(DecideKey(units, 3, Alt('P'), {}), (KeyAction{K::MoveFocus, 2}));
    EXPECT_EQ(NextTabStopAfter(units, 3), 2); // wraps past the end
    units[2].enabled = false;
    EXPECT_EQ(DecideKey(units, 3, Alt('P'), {}), (KeyAction{K::MoveFocus, 3}));
    units[3].enabled = false;
    EXPECT_EQ(DecideKey(units, -1, Alt('P'), {}), (KeyAction{K::Nothing, -1}));
}

} // namespace
} // namespace korvanta
