#include "app/shell_logic.h"

#include "app/platform_values.h"

#include <gtest/gtest.h>

namespace korvanta {
namespace {

// "\x81\x5c" is one GBK character (乗) whose trail byte is the backslash.
TEST(SplitProgramPath, SplitsAtTheLastWholeCharacterBackslash) {
    struct Case {
        const char *path;
        const char *directory;
        const char *file_name;
    };
    const Case cases[] = {
        {"D:\\Tools\\swap.exe", "D:\\Tools", "swap.exe"},
        {"C:\\swap.exe", "C:", "swap.exe"},
        {"swap.exe", "", "swap.exe"},
        {"", "", ""},
        {"\\\\server\\share\\swap.exe", "\\\\server\\share", "swap.exe"},
        {"D:\\Tools\\", "D:\\Tools", ""},
        // The trail byte inside the file name is not a separator.
        {"C:\\a\x81\x5c"
         "b.exe",
         "C:",
         "a\x81\x5c"
         "b.exe"},
        // A directory whose name ends in that character keeps it whole.
        {"C:\\\x81\x5c\\swap.exe", "C:\\\x81\x5c", "swap.exe"},
        // No backslash at all, only a trail byte 0x5C.
        {"\x81\x5c.exe", "", "\x81\x5c.exe"},
        // A lead byte cut off at the end stands alone.
        {"C:\\dir\\a\x81", "C:\\dir", "a\x81"},
        {"D:\\游戏\\换图标.exe", "D:\\游戏", "换图标.exe"},
    };
    for (const Case &c : cases) {
        ProgramPath split = SplitProgramPath(c.path, &IsGbkLeadByte);
        EXPECT_EQ(split.directory, c.directory) << c.path;
        EXPECT_EQ(split.file_name, c.file_name) << c.path;
    }
}

TEST(SplitProgramPath, WithoutLeadBytesEveryBackslashCounts) {
    auto single_byte = [](unsigned char) { return false; };
    ProgramPath split = SplitProgramPath("C:\\a\x81\x5c"
                                         "b.exe",
                                         single_byte);
    EXPECT_EQ(split.directory, "C:\\a\x81");
    EXPECT_EQ(split.file_name, "b.exe");
}

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

} // namespace
} // namespace korvanta
