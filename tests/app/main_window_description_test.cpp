// MainWindow's description together with the rules that read it.
#include "icons/main_window.h"

#include "app/keyboard_logic.h"
#include "app/label_logic.h"
#include "app/platform_values.h"
#include "icons/handlers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace korvanta {

// Recording doubles for the program's handlers, so that the bindings can be followed.
std::vector<std::string> handler_calls;
void StartupStaging() {
    handler_calls.push_back("staging");
}
void ReplaceAction() {
    handler_calls.push_back("replace");
}
void RestoreAction() {
    handler_calls.push_back("restore");
}

namespace {

const UnitRecord &Unit(UnitRef ref) {
    return MainWindow.units[static_cast<size_t>(ref.unit)];
}

void RunBound(const UnitRecord &unit, int32_t event) {
    for (const EventBinding &b : unit.bindings) {
        if (b.event == event && b.plain)
            b.plain();
    }
}

TEST(MainWindowDescription, IsHeldForTheShellAndConsistent) {
    const auto &held = HeldWindowDescriptions();
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0], &MainWindow);
    EXPECT_TRUE(DescriptionIsConsistent(MainWindow));
    EXPECT_EQ(MainWindow.id, kMainWindowId);
    EXPECT_EQ(MainWindow.units.size(), 6u);
}

TEST(MainWindowDescription, LabelTextIsTheFiftyFourGbkBytes) {
    const char *text = Unit(kLabel1).label->text;
    ASSERT_EQ(std::strlen(text), 54u);
    EXPECT_EQ(std::string(text, 2), "  ");
    EXPECT_EQ(std::string(text + 2, 2), "\xcd\xe6"); // 玩
    EXPECT_NE(std::string(text).find(",\r\n\r\n"), std::string::npos);
    EXPECT_EQ(std::string(text + 50, 4), "\xb0\xc9\xa1\xa3"); // 吧。
    EXPECT_EQ(LabelDrawFlags(Unit(kLabel1).label->horizontal_alignment,
                             Unit(kLabel1).label->word_wrap,
                             Unit(kLabel1).label->vertical_alignment),
              win::kDtNoClip | win::kDtWordBreak | win::kDtVCenter);
}

TEST(MainWindowDescription, BindingsReachTheirHandlers) {
    handler_calls.clear();
    for (const UnitRecord &u : MainWindow.units)
        for (int32_t e = -8; e <= 8; ++e)
            RunBound(u, e);
    EXPECT_EQ(handler_calls, (std::vector<std::string>{"staging", "restore", "replace"}));
    handler_calls.clear();
    RunBound(Unit(kButton1), event::kClick);
    RunBound(Unit(kButton2), event::kClick);
    RunBound(Unit(kMainWindow), event::kCreationComplete);
    EXPECT_EQ(handler_calls, (std::vector<std::string>{"replace", "restore", "staging"}));
}

TEST(MainWindowDescription, KeyboardOverTheRealUnits) {
    // The run-time state as LoadWindow leaves it: everything with a window is shown.
    std::vector<UnitState> units;
    for (const UnitRecord &u : MainWindow.units) {
        const bool shown = (u.flags & kUnitVisible) && TraitsOf(u.type).has_window;
        units.push_back({.type = u.type,
                         .on_screen = shown,
                         .visible = shown,
                         .enabled = !(u.flags & kUnitDisabled),
                         .tab_stop = (u.flags & kUnitTabStop) != 0,
                         .tab_order = u.tab_order,
                         .caption = CaptionOf(u)});
    }
    EXPECT_EQ(TabOrder(units), (std::vector<int>{kEditBox1.unit, kButton1.unit, kButton2.unit}));
    EXPECT_EQ(FirstFocusUnit(units), kEditBox1.unit);
    EXPECT_EQ(FindMnemonicUnit(units, {'Y', false, false, true}), kButton1.unit);
    EXPECT_EQ(FindMnemonicUnit(units, {'N', false, false, true}), kButton2.unit);
    const KeyOptions options{.esc_closes = Unit(kMainWindow).window->esc_closes};
    EXPECT_EQ(DecideKey(units, kEditBox1.unit, {win::kVkEscape, false, false, false}, options).kind,
              KeyActionKind::Close);
}

} // namespace
} // namespace korvanta
