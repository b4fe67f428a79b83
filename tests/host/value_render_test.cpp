#include "host/value_render.h"

#include "tests/host/test_blocks.h"

#include <gtest/gtest.h>

#include <string>

namespace korvanta {
namespace {

constexpr double kNov20th2013 = 41598.0; // OLE date of 2013-11-20, midnight

std::string Render(const TypedValue &value) {
    RenderBuffer buffer;
    buffer.fill('x');
    return RenderValueText(value, buffer);
}

TEST(RenderValueText, EveryBasicType) {
    test::OwnedBlock block({'z', 'i', 'p'});
    const std::pair<TypedValue, const char *> cases[] = {
        {TypedValue::Integer(42), "42"},
        {TypedValue::Integer(INT32_MIN), "-2147483648"},
        {TypedValue::Byte(200), "200"},
        {TypedValue::Short(-5), "-5"},
        {TypedValue::Long(-9000000000LL), "-9000000000"},
        {TypedValue::Long(INT64_MIN), "-9223372036854775808"},
        {TypedValue::Double(1.0 / 3.0), "0.3333333333333"},
        {TypedValue::Double(-2e20 / 3), "-6.666666666667e+19"},
        {TypedValue::Logical(true), "\xE7\x9C\x9F"}, // 真 in UTF-8, as the box gets it
        {TypedValue::Logical(false), "假"},
        {TypedValue::Block(block.get()), ""},
        {TypedValue::Omitted(), ""},
        {TypedValue::Text(nullptr), ""},
    };
    for (const auto &[value, shown] : cases)
        EXPECT_EQ(Render(value), shown);
    const char *text = "替换成功"; // passed on, not copied
    RenderBuffer buffer;
    EXPECT_EQ(RenderValueText(TypedValue::Text(text), buffer), text);
}

TEST(RenderValueText, FloatsAreReducedToSixDigitsFirst) {
    const std::pair<float, const char *> cases[] = {
        {3.1415927f, "3.14159"},
        {1234567.0f, "1.23457e+06"},
        {-2.5f, "-2.5"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {0.1f, "0.1"},
        {1e-10f, "1e-10"},
        {16777216.0f, "1.67772e+07"},
        {3.4e38f, "3.4e+38"},
        // Halves go away from zero, where printing the float itself would round to even.
        {475592.5f, "475593"},
        {-475592.5f, "-475593"},
        {1521925.0f, "1.52193e+06"},
        // In doubles 941593.5 / 10^5 * 10^5 falls just under the half.
        {941593.5f, "941593"},
    };
    for (const auto &[x, shown] : cases)
        EXPECT_EQ(Render(TypedValue::Float(x)), shown) << x;
}

TEST(RenderValueText, DatesWithTheirTimeParts) {
    const std::pair<double, const char *> cases[] = {
        {kNov20th2013, "2013年11月20日"},
        {kNov20th2013 + 8.5 / 24, "2013年11月20日8时30分"},
        {kNov20th2013 + (8 * 3600 + 5) / 86400.0, "2013年11月20日8时0分5秒"},
        {kNov20th2013 + 8.0 / 24, "2013年11月20日8时"},
        // To the nearest second, carrying into the next day.
        {kNov20th2013 + 0.4 / 86400, "2013年11月20日"},
        {kNov20th2013 + 0.6 / 86400, "2013年11月20日0时0分1秒"},
        {kNov20th2013 + 86399.6 / 86400, "2013年11月21日"},
        {0.0, "1899年12月30日"},
        {60.0, "1900年2月28日"},
        {36585.0, "2000年2月29日"},
        // Before the epoch the time still runs forward from that day's midnight.
        {-1.25, "1899年12月29日6时"},
        // Clamped to the years 100 to 9999.
        {2958465.75, "9999年12月31日"},
        {1e12, "9999年12月31日"},
        {-657434.0, "100年1月1日"},
        {-1e12, "100年1月1日"},
    };
    for (const auto &[date, shown] : cases)
        EXPECT_EQ(Render(TypedValue::DateTime(date)), shown) << date;
}

TEST(MessageBoxRules, CaptionAndFlagsArguments) {
    RenderBuffer buffer;
    EXPECT_STREQ(CaptionText(TypedValue::Omitted(), buffer),
                 "\xE4\xBF\xA1\xE6\x81\xAF\xEF\xBC\x9A"); // 信息：
    EXPECT_STREQ(CaptionText(TypedValue::Text("标题"), buffer), "标题");
    EXPECT_STREQ(CaptionText(TypedValue::Text(nullptr), buffer), "");
    EXPECT_EQ(FlagsValue(TypedValue::Omitted()), 0);
    EXPECT_EQ(FlagsValue(TypedValue::Short(0x24)), 0x24);
    EXPECT_EQ(FlagsValue(TypedValue::Long(0x1000)), 0x1000);
    EXPECT_EQ(FlagsValue(TypedValue::Text("4")), 0);
}

TEST(MessageBoxRules, StyleIsTaskModalUnlessSystemModal) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 0x2000},    {0x2000, 0x2000}, {0x1000, 0x1000},
                                                 {0x24, 0x2024}, {0x3000, 0x3000}, {-1, -1}};
    for (const auto &[flags, style] : cases)
        EXPECT_EQ(MessageStyle(flags), style) << flags;
}

TEST(MessageBoxRules, ResultCodeIsTheButtonLessOneElseZero) {
    const std::pair<int32_t, int32_t> cases[] = {{1, 0},  {2, 1},  {3, 2},    {4, 3}, {5, 4},
                                                 {6, 5},  {7, 6},  {0, 0},    {8, 0}, {10, 0},
                                                 {11, 0}, {-1, 0}, {32000, 0}};
    for (const auto &[platform, code] : cases)
        EXPECT_EQ(MessageResultCode(platform), code) << platform;
}

} // namespace
} // namespace korvanta
