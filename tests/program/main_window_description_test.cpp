// MainWindow's description as plain data: registered for the shell, consistent, and its
// label text as the characters the player reads.
#include "program/main_window.h"

#include "shell/label_logic.h"
#include "base/platform_values.h"
#include "base/utf.h"
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

TEST(MainWindowDescription, LabelTextIsItsThirtyOneCharacters) {
    // The 54 bytes it was in GBK, read as characters: the same on every code page. Written
    // with escapes, so that a source saved in another encoding cannot pass.
    const char *text = Unit(kLabel1).label->text;
    const UtfResult<char16_t> wide = Utf8ToUtf16(text);
    ASSERT_TRUE(wide.converted()) << Describe(wide);
    EXPECT_EQ(std::strlen(text), 77u); // UTF-8: three bytes for each Chinese character
    EXPECT_TRUE(wide.text == u"  \u73A9\u817B\u56FD\u670D\u7684\u5C0F\u76C6\u53CB\u4EEC,"
                             u"\u6765\u4F53\u9A8C\u4F53\u9A8C\u5916\u670D\u7684,\r\n\r\n"
                             u"\u519B\u8854\u56FE\u6807\u5427\u3002");
    EXPECT_EQ(wide.text.size(), 31u);
    EXPECT_EQ(LabelDrawFlags(Unit(kLabel1).label->horizontal_alignment,
                             Unit(kLabel1).label->word_wrap,
                             Unit(kLabel1).label->vertical_alignment),
              win::kDtNoClip | win::kDtWordBreak | win::kDtVCenter);
}

} // namespace
} // namespace korvanta
