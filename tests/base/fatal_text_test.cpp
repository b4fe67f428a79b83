#include "base/fatal_text.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

namespace korvanta {
namespace {

// The text as the box gets it: the program's storage, in UTF-16.
std::u16string Compose(std::string_view message, int32_t code) {
    std::array<char16_t, kFatalTextCapacity> out;
    out.fill(u'#');
    const size_t length = ComposeFatalText(message, code, out);
    EXPECT_LT(length, out.size());
    EXPECT_EQ(std::u16string(out.data()).size(), length); // NUL-terminated right at the end
    return std::u16string(out.data(), length);
}

// Literals are UTF-8; what the box shows is written as the UTF-16 it gets.
TEST(FatalText, MessageWithoutCodeHasNoCodePiece) {
    EXPECT_EQ(Compose("载入启动窗口失败", 0), u"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
}

TEST(FatalText, CodeWithoutMessageHasNoMessagePiece) {
    EXPECT_EQ(Compose("", 5), u"运行时出错!\r\n\r\n错误代码：5\r\n\r\n");
}

TEST(FatalText, NegativeCodeIsSignedDecimalBeforeTheMessage) {
    EXPECT_EQ(Compose("x", -7), u"运行时出错!\r\n\r\n错误代码：-7\r\n\r\n错误信息：x\r\n");
    EXPECT_EQ(Compose("", INT32_MIN), u"运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n");
}

TEST(FatalText, ExclamationMarkIsAsciiAndColonsFullWidth) {
    const std::u16string text = Compose("m", 1);
    EXPECT_EQ(text.substr(0, 6), u"\u8FD0\u884C\u65F6\u51FA\u9519!");
    EXPECT_EQ(text.substr(10, 5), u"\u9519\u8BEF\u4EE3\u7801\uFF1A");
}

// With no code, the 1023 units of the storage hold 10 of the head, 5 of the label, the message
// and its line break: 1006 units of message fit.
constexpr size_t kMessageRoom = kFatalTextCapacity - 1 - 10 - 5 - 2;

TEST(FatalText, AnOverLongMessageIsCutBeforeTheCharacterThatDoesNotFit) {
    std::string chinese;
    std::u16string chinese16;
    for (int i = 0; i < 1100; ++i) {
        chinese += "啊"; // three bytes of UTF-8, one unit of UTF-16
        chinese16 += u"啊";
    }
    std::string pairs;
    std::u16string pairs16;
    for (int i = 0; i < 600; ++i) {
        pairs += "𠀀"; // four bytes, a surrogate pair
        pairs16 += u"\U00020000";
    }
    const struct {
        const char *name;
        std::string message;
        std::u16string kept;
    } cases[] = {
        {"fits exactly", std::string(kMessageRoom, 'a'), std::u16string(kMessageRoom, u'a')},
        {"one unit over", std::string(kMessageRoom + 1, 'a'), std::u16string(kMessageRoom, u'a')},
        {"far over", std::string(5000, 'a'), std::u16string(kMessageRoom, u'a')},
        // Counted in characters of UTF-16, not in bytes of UTF-8.
        {"Chinese throughout", chinese, chinese16.substr(0, kMessageRoom)},
        {"only half a pair would fit", std::string(kMessageRoom - 1, 'a') + "𠀀",
         std::u16string(kMessageRoom - 1, u'a')},
        {"the whole pair fits", std::string(kMessageRoom - 2, 'a') + "𠀀b",
         std::u16string(kMessageRoom - 2, u'a') + u"\U00020000"},
        {"pairs throughout", pairs, pairs16.substr(0, kMessageRoom)},
        {"pairs after one unit", "a" + pairs,
         std::u16string(u"a").append(pairs16, 0, kMessageRoom - 2)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Compose(c.message, 0), u"运行时出错!\r\n\r\n错误信息：" + c.kept + u"\r\n")
            << c.name;
    }
}

TEST(FatalText, AMessageThatIsNotUtf8EndsBeforeTheFirstBadByte) {
    // A GBK text or a cut character shows as far as it is well-formed, never as other
    // characters, and the box text still ends with its line break.
    EXPECT_EQ(Compose("路径\xC3(", 0), u"运行时出错!\r\n\r\n错误信息：路径\r\n");
    EXPECT_EQ(Compose("\xCC\xE6\xBB\xBB", 3),
              u"运行时出错!\r\n\r\n错误代码：3\r\n\r\n错误信息：\r\n");
}

TEST(FatalText, TheCodePieceStaysWholeBeforeACutMessage) {
    // 30 units of head and code, 5 of the label, the line break: 986 units of message.
    const std::u16string text = Compose(std::string(2000, 'x'), INT32_MIN);
    EXPECT_EQ(text, u"运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n错误信息：" +
                        std::u16string(986, u'x') + u"\r\n");
    EXPECT_EQ(text.size(), kFatalTextCapacity - 1);
}

TEST(FatalText, SmallStorageIsNeverOverrunAndCutsTheHeadOnCharacters) {
    std::array<char16_t, 16> out;
    out.fill(u'#');
    const size_t length = ComposeFatalText("m", 5, std::span<char16_t>(out.data(), 4));
    // Three units of room hold three characters of "运行时出错!".
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(std::u16string(out.data()), u"运行时");
    EXPECT_EQ(std::u16string(out.data() + 4, 12), std::u16string(12, u'#'));
    EXPECT_EQ(ComposeFatalText("m", 5, std::span<char16_t>(out.data(), 1)), 0u);
    EXPECT_EQ(out[0], u'\0');
}

} // namespace
} // namespace korvanta
