#include "base/double_byte.h"

#include <gtest/gtest.h>

#include <string>

namespace korvanta {
namespace {

// GBK texts split by GBK's rule: "\x81\x5c" and "\xB1\x5C" are GBK characters whose trail byte
// is the backslash, written "\x81\\" where a letter follows. UTF-8 texts (the program's own
// paths and registry paths) split at every backslash byte.
TEST(SplitAtLastBackslash, SplitsAtTheLastWholeCharacterBackslash) {
    struct Case {
        LeadBytePredicate rule;
        std::string text, before, after;
    };
    const Case cases[] = {
        // Program paths.
        {&IsGbkLeadByte, "D:\\Tools\\swap.exe", "D:\\Tools", "swap.exe"},
        {&IsGbkLeadByte, "C:\\swap.exe", "C:", "swap.exe"},
        {&IsGbkLeadByte, "swap.exe", "", "swap.exe"},
        {&IsGbkLeadByte, "", "", ""},
        {&IsGbkLeadByte, "\\\\server\\share\\swap.exe", "\\\\server\\share", "swap.exe"},
        {&IsGbkLeadByte, "D:\\Tools\\", "D:\\Tools", ""},
        // The trail byte inside the file name is not a separator.
        {&IsGbkLeadByte, "C:\\a\x81\\b.exe", "C:", "a\x81\\b.exe"},
        // A directory whose name ends in that character keeps it whole.
        {&IsGbkLeadByte, "C:\\\x81\x5c\\swap.exe", "C:\\\x81\x5c", "swap.exe"},
        // No backslash at all, only a trail byte 0x5C.
        {&IsGbkLeadByte, "\x81\x5c.exe", "", "\x81\x5c.exe"},
        // A lead byte cut off at the end stands alone.
        {&IsGbkLeadByte, "C:\\dir\\a\x81", "C:\\dir", "a\x81"},
        // Without lead bytes every backslash counts.
        {&NoLeadByte, "C:\\a\x81\\b.exe", "C:\\a\x81", "b.exe"},
        {&NoLeadByte, "D:\\游戏\\换图标.exe", "D:\\游戏", "换图标.exe"},

        // Registry paths (UTF-8): key, then value name.
        {&NoLeadByte, "SOFTWARE\\Tencent\\CrossFire\\InstallPath", "SOFTWARE\\Tencent\\CrossFire",
         "InstallPath"},
        {&NoLeadByte, "Software\\Key\\", "Software\\Key", ""},
        {&NoLeadByte, "InstallPath", "", "InstallPath"},
        {&NoLeadByte, "", "", ""},
        {&NoLeadByte, "\\Value", "", "Value"},
        {&NoLeadByte, "A\\\\", "A\\", ""},
        // The last byte of "键" is 0xAE: a rule that took every high byte for a lead would join
        // it with the backslash after it.
        {&NoLeadByte, "Software\\键\\值", "Software\\键", "值"},
        {&NoLeadByte, "Dir\\Key𠀀\\Name\u00FF", "Dir\\Key𠀀", "Name\u00FF"},
    };
    for (const Case &c : cases) {
        const SplitText split = SplitAtLastBackslash(c.text, c.rule);
        EXPECT_EQ(split.before + "|" + split.after, c.before + "|" + c.after) << c.text;
    }
}

} // namespace
} // namespace korvanta
