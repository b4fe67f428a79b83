#include "base/double_byte.h"

#include "tests/support/gbk_lead_byte.h"

#include <gtest/gtest.h>

#include <string>

namespace korvanta {
namespace {

bool SingleByte(unsigned char) {
    return false;
}

// Program paths split by the code page's rule (GBK here), registry paths by the fixed rule
// that every byte from 0x80 up leads. "\x81\x5c" (乗) and "\xB1\x5C" are GBK characters whose
// trail byte is the backslash, written "\x81\\" where a letter follows.
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
        {&IsGbkLeadByte, "D:\\游戏\\换图标.exe", "D:\\游戏", "换图标.exe"},
        // Without lead bytes every backslash counts.
        {&SingleByte, "C:\\a\x81\\b.exe", "C:\\a\x81", "b.exe"},

        // Registry paths: key, then value name.
        {&IsHighByte, "SOFTWARE\\Tencent\\CrossFire\\InstallPath", "SOFTWARE\\Tencent\\CrossFire",
         "InstallPath"},
        {&IsHighByte, "Software\\Key\\", "Software\\Key", ""},
        {&IsHighByte, "InstallPath", "", "InstallPath"},
        {&IsHighByte, "", "", ""},
        {&IsHighByte, "\\Value", "", "Value"},
        {&IsHighByte, "A\\\\", "A\\", ""},
        {&IsHighByte, "Key\\\xB1\x5C", "Key", "\xB1\x5C"},
        {&IsHighByte, "Key\xB1\x5C", "", "Key\xB1\x5C"},
        {&IsHighByte, "Dir\\Key\xB1\x5C\\Name\xB1\x5C", "Dir\\Key\xB1\x5C", "Name\xB1\x5C"},
        {&IsHighByte, "\x81\x5C\x5CV", "\x81\x5C", "V"}, // the next backslash counts again
        // Every byte from 0x80 up is a first byte.
        {&IsHighByte, "A\\\xFF\\B", "A", "\xFF\\B"},
        // A first byte at the end ends the scan.
        {&IsHighByte, "Key\\Value\xB1", "Key", "Value\xB1"},
    };
    for (const Case &c : cases) {
        const SplitText split = SplitAtLastBackslash(c.text, c.rule);
        EXPECT_EQ(split.before + "|" + split.after, c.before + "|" + c.after) << c.text;
    }
}

} // namespace
} // namespace korvanta
