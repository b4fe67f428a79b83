#include "app/fatal_text.h"

#include <gtest/gtest.h>

namespace korvanta {
namespace {

TEST(FatalText, MessageWithoutCodeHasNoCodePiece) {
    EXPECT_EQ(ComposeFatalText("载入启动窗口失败", 0),
              "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
}

TEST(FatalText, CodeWithoutMessageHasNoMessagePiece) {
    EXPECT_EQ(ComposeFatalText("", 5), "运行时出错!\r\n\r\n错误代码：5\r\n\r\n");
}

TEST(FatalText, NegativeCodeIsSignedDecimalBeforeTheMessage) {
    EXPECT_EQ(ComposeFatalText("x", -7), "运行时出错!\r\n\r\n错误代码：-7\r\n\r\n错误信息：x\r\n");
}

TEST(FatalText, PiecesAreGbkBytes) {
    // The exclamation mark is the one-byte ASCII one; the colons are full-width.
    std::string text = ComposeFatalText("m", 1);
    EXPECT_EQ(text.substr(0, 11), std::string("\xd4\xcb\xd0\xd0\xca\xb1\xb3\xf6\xb4\xed!"));
    EXPECT_NE(text.find("\xa3\xba"), std::string::npos);
}

} // namespace
} // namespace korvanta
