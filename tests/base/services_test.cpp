#include "base/memory.h"
#include "base/text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace korvanta {
namespace {

const char kLiteral[] = "\\rez\\UI";

class Services : public ::testing::Test {
protected:
    void SetUp() override { InitConstantRanges(); }
};

TEST_F(Services, FreeBlockLeavesNullAndLiteralsAlone) {
    ASSERT_TRUE(InConstantRanges(kLiteral));
    FreeBlock(nullptr);
    FreeBlock(kLiteral);
    EXPECT_STREQ(kLiteral, "\\rez\\UI");
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

TEST_F(Services, HeapBlocksAreOutsideTheConstantRanges) {
    void *p = AllocBlock(4096);
    EXPECT_FALSE(InConstantRanges(p));
    FreeBlock(p);
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

TEST_F(Services, CopyOfEmptyIsAbsent) {
    EXPECT_TRUE(Text::Copy("").absent());
    EXPECT_TRUE(Text::Copy(nullptr).absent());
    Text t = Text::Copy("D:\\Games\\CF");
    ASSERT_FALSE(t.absent());
    EXPECT_STREQ(t.get(), "D:\\Games\\CF");
}

TEST_F(Services, ConcatCountsAbsentPiecesAsEmptyAndNeverReturnsAbsent) {
    Text empty = Concat({nullptr, ""});
    ASSERT_FALSE(empty.absent());
    EXPECT_STREQ(empty.get(), "");
    Text path = Concat({"D:\\Games\\CF", nullptr, "\\rez\\UI\\class"});
    EXPECT_STREQ(path.get(), "D:\\Games\\CF\\rez\\UI\\class");
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, path.get()), std::strlen(path.get()) + 1);
}

} // namespace
} // namespace korvanta
