// MainWindow's description as plain data: registered for the shell, consistent, and its
// label text in the program's code page.
#include "program/main_window.h"

#include "shell/label_logic.h"
#include "base/platform_values.h"
#include "program/handlers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace korvanta {

// The description names the program's handlers; nothing here calls them.
void StartupStaging() {}
void ReplaceAction() {}
void RestoreAction() {}

namespace {

const UnitRecord &Unit(UnitRef ref) {
    return MainWindow.units[static_cast<size_t>(ref.unit)];
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

} // namespace
} // namespace korvanta
