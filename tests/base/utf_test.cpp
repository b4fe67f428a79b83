#include "base/utf.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace korvanta {
namespace {

// UTF-8 written as u8 literals or byte escapes, so that the tables say the bytes they mean.
std::string_view Bytes(std::u8string_view utf8) {
    return {reinterpret_cast<const char *>(utf8.data()), utf8.size()};
}

struct Pair {
    const char *what;
    std::string_view utf8;
    std::u16string_view utf16;
};

// Each pair converts both ways, at the edges of every sequence length.
const Pair kPairs[] = {
    {"empty", "", u""},
    {"ASCII path", "D:\\Games\\CF", u"D:\\Games\\CF"},
    {"Chinese path", Bytes(u8"C:\\缓存目录\\class1.zip"), u"C:\\缓存目录\\class1.zip"},
    {"two bytes, first and last", "\xC2\x80\xDF\xBF", u"\u0080\u07FF"},
    {"three bytes, first", "\xE0\xA0\x80", u"\u0800"},
    {"three bytes, around the surrogates", "\xED\x9F\xBF\xEE\x80\x80", u"\uD7FF\uE000"},
    {"three bytes, last", "\xEF\xBF\xBF", u"\uFFFF"},
    {"outside the BMP, first", "\xF0\x90\x80\x80", u"\U00010000"},
    {"outside the BMP, CJK extension B", Bytes(u8"游𠀀戏"), u"游\U00020000戏"},
    {"outside the BMP, last", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
};

TEST(Utf, PairsConvertBothWays) {
    for (const Pair &p : kPairs) {
        const UtfResult<char16_t> wide = Utf8ToUtf16(p.utf8);
        EXPECT_TRUE(wide.converted()) << p.what << ": " << Describe(wide);
        EXPECT_TRUE(wide.text == p.utf16) << p.what;
        const UtfResult<char> narrow = Utf16ToUtf8(p.utf16);
        EXPECT_TRUE(narrow.converted()) << p.what << ": " << Describe(narrow);
        EXPECT_EQ(narrow.text, p.utf8) << p.what;
    }
}

TEST(Utf, AbsentStaysAbsentAndEmptyIsNot) {
    EXPECT_EQ(Utf8ToUtf16(static_cast<const char *>(nullptr)).status, UtfStatus::kAbsent);
    EXPECT_EQ(Utf16ToUtf8(static_cast<const char16_t *>(nullptr)).status, UtfStatus::kAbsent);
    EXPECT_EQ(Utf8ToUtf16("").status, UtfStatus::kConverted);
    EXPECT_EQ(Utf16ToUtf8(u"").status, UtfStatus::kConverted);
}

struct Refused {
    const char *what;
    std::string_view input;
    size_t at;
};

TEST(Utf, IllFormedUtf8IsRefusedWhereItStands) {
    const Refused cases[] = {
        {"stray continuation byte", "\x80", 0},
        {"cut short at the end", "OK\xE6\x9B", 2},
        {"lead without continuation", "\xC3(", 0},
        {"overlong two bytes", "\xC0\xAF", 0},
        {"overlong three bytes", "a\xE0\x80\xAF", 1},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", 0},
        {"encoded surrogate", "\xED\xA0\x80", 0},
        {"past U+10FFFF", "\xF4\x90\x80\x80", 0},
        {"never a lead", "\xF5\x80\x80\x80", 0},
        {"0xFF", "ab\xFF", 2},
        {"GBK text", "\xCC\xE6\xBB\xBB", 0},
        {"bad byte after a good character", Bytes(u8"替\xBF"), 3},
    };
    for (const Refused &c : cases) {
        const UtfResult<char16_t> r = Utf8ToUtf16(c.input);
        EXPECT_EQ(r.status, UtfStatus::kInvalid) << c.what;
        EXPECT_EQ(r.invalid_at, c.at) << c.what;
        EXPECT_TRUE(r.text.empty()) << c.what;
    }
    EXPECT_EQ(Describe(Utf8ToUtf16("OK\xE6\x9B")), "not UTF-8 at byte offset 2");
}

TEST(Utf, LoneSurrogatesAreRefusedWhereTheyStand) {
    const struct {
        const char *what;
        std::u16string_view input;
        size_t at;
    } cases[] = {
        {"high surrogate at the end", u"ab\xD800", 2},
        {"high surrogate before another unit", u"\xD83Dx", 0},
        {"low surrogate alone", u"a\xDC00", 1},
        {"pair the wrong way round", u"\xDC00\xD800", 0},
    };
    for (const auto &c : cases) {
        const UtfResult<char> r = Utf16ToUtf8(c.input);
        EXPECT_EQ(r.status, UtfStatus::kInvalid) << c.what;
        EXPECT_EQ(r.invalid_at, c.at) << c.what;
        EXPECT_TRUE(r.text.empty()) << c.what;
    }
    EXPECT_EQ(Describe(Utf16ToUtf8(u"a\xDC00")), "not UTF-16 at unit offset 1");
}

TEST(Utf, FillingFixedStorageStopsBeforeAWholeCharacter) {
    const struct {
        const char *what;
        std::string_view input;
        size_t room;
        FillStop stop;
        size_t read;
        std::u16string_view written;
    } cases[] = {
        {"all of it", Bytes(u8"替换成功"), 8, FillStop::kEnd, 12, u"替换成功"},
        {"exactly full", Bytes(u8"替换"), 2, FillStop::kEnd, 6, u"替换"},
        {"one too many", Bytes(u8"替换成"), 2, FillStop::kFull, 6, u"替换"},
        {"empty input", "", 0, FillStop::kEnd, 0, u""},
        {"no room", "a", 0, FillStop::kFull, 0, u""},
        // A pair is never split, whatever room is left.
        {"pair with one unit left", Bytes(u8"a𠀀"), 2, FillStop::kFull, 1, u"a"},
        {"pair with two units left", Bytes(u8"a𠀀b"), 3, FillStop::kFull, 5, u"a\U00020000"},
        {"ill-formed after good text", Bytes(u8"游戏\xC3("), 8, FillStop::kInvalid, 6, u"游戏"},
        {"ill-formed first", "\xCC\xE6", 8, FillStop::kInvalid, 0, u""},
    };
    for (const auto &c : cases) {
        std::u16string out(c.room + 2, u'#');
        const UtfFill fill = FillUtf16(c.input, std::span<char16_t>(out.data(), c.room));
        EXPECT_EQ(fill.stop, c.stop) << c.what;
        EXPECT_EQ(fill.read, c.read) << c.what;
        EXPECT_TRUE(out.substr(0, fill.written) == c.written) << c.what;
        EXPECT_EQ(out.substr(c.room), u"##") << c.what; // nothing past the room
    }
}

} // namespace
} // namespace korvanta
