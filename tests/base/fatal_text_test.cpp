#include "base/fatal_text.h"

#include "base/double_byte.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>

namespace korvanta {
namespace {

// The text as the box gets it: the program's storage, the GBK lead bytes.
std::string Compose(std::string_view message, int32_t code) {
    std::array<char, kFatalTextCapacity> out;
    out.fill('#');
    const size_t length = ComposeFatalText(message, code, out, &IsGbkLeadByte);
    EXPECT_LT(length, out.size());
    EXPECT_EQ(std::strlen(out.data()), length); // NUL-terminated right at the end
    return std::string(out.data(), length);
}

TEST(FatalText, MessageWithoutCodeHasNoCodePiece) {
    EXPECT_EQ(Compose("载入启动窗口失败", 0), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
}

TEST(FatalText, CodeWithoutMessageHasNoMessagePiece) {
    EXPECT_EQ(Compose("", 5), "运行时出错!\r\n\r\n错误代码：5\r\n\r\n");
}

TEST(FatalText, NegativeCodeIsSignedDecimalBeforeTheMessage) {
    EXPECT_EQ(Compose("x", -7), "运行时出错!\r\n\r\n错误代码：-7\r\n\r\n错误信息：x\r\n");
    EXPECT_EQ(Compose("", INT32_MIN), "运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n");
}

TEST(FatalText, PiecesAreGbkBytes) {
    // The exclamation mark is the one-byte ASCII one; the colons are full-width.
    std::string text = Compose("m", 1);
    EXPECT_EQ(text.substr(0, 11), std::string("\xd4\xcb\xd0\xd0\xca\xb1\xb3\xf6\xb4\xed!"));
    EXPECT_NE(text.find("\xa3\xba"), std::string::npos);
}

// With no code, the 1023 bytes of the storage hold 25 of the head, the message and its line
// break: 996 bytes of message fit.
constexpr size_t kMessageRoom = kFatalTextCapacity - 1 - 25 - 2;

TEST(FatalText, AnOverLongMessageIsCutBeforeTheCharacterThatDoesNotFit) {
    const std::string wide = "啊"; // b0 a1: the trail byte is in the lead range too
    std::string wides;
    for (int i = 0; i < 600; ++i)
        wides += wide;
    const struct {
        const char *name;
        std::string message;
        size_t kept;
    } cases[] = {
        {"fits exactly", std::string(kMessageRoom, 'a'), kMessageRoom},
        {"one byte over", std::string(kMessageRoom + 1, 'a'), kMessageRoom},
        {"far over", std::string(5000, 'a'), kMessageRoom},
        {"only the lead byte would fit", std::string(kMessageRoom - 1, 'a') + wide,
         kMessageRoom - 1},
        {"both bytes fit", std::string(kMessageRoom - 2, 'a') + wide + "b", kMessageRoom},
        // Cut by walking characters, not by looking at the byte before the cut.
        {"double-byte throughout", wides, kMessageRoom},
        {"double-byte after one byte", "a" + wides, kMessageRoom - 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Compose(c.message, 0),
                  "运行时出错!\r\n\r\n错误信息：" + c.message.substr(0, c.kept) + "\r\n")
            << c.name;
    }
}

TEST(FatalText, TheCodePieceStaysWholeBeforeACutMessage) {
    // 40 bytes of head and code, 10 of the label, the line break: 971 bytes of message.
    const std::string text = Compose(std::string(2000, 'x'), INT32_MIN);
    EXPECT_EQ(text, "运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n错误信息：" +
                        std::string(971, 'x') + "\r\n");
    EXPECT_EQ(text.size(), kFatalTextCapacity - 1);
}

TEST(FatalText, SmallStorageIsNeverOverrunAndCutsTheHeadOnCharacters) {
    std::array<char, 16> out;
    out.fill('#');
    const size_t length = ComposeFatalText("m", 5, std::span<char>(out.data(), 8), &IsGbkLeadByte);
    // Seven bytes of room hold three characters of "运行时出错!"; the fourth would need eight.
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(std::string(out.data()), "运行时");
    EXPECT_EQ(std::string(out.data() + 8, 8), std::string(8, '#'));
    EXPECT_EQ(ComposeFatalText("m", 5, std::span<char>(out.data(), 1), &IsGbkLeadByte), 0u);
    EXPECT_EQ(out[0], '\0');
}

} // namespace
} // namespace korvanta
