#include <gtest/gtest.h>

#include "window/number_text.h"

namespace nudgewick {
namespace {

TEST(ToWholeNumberTest, FractionsRoundToNearestWithTiesToEven) {
    // clang-format off
    const std::pair<const char*, int> cases[] = {
        {"0.5", 0},         {"1.5", 2},          {"2.5", 2},       {"-0.5", 0},
        {"-1.5", -2},       {"-2.5", -2},        {"4500.5", 4500}, {"4501.5", 4502},
        {"4500.50000", 4500}, {"4500.5000001", 4501}, {"4500.4999999", 4500}, {"2999.7", 3000},
        {".5", 0},          {"5.", 5},           {"-.75", -1},     {"0.49", 0},
    };
    // clang-format on
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ToWholeNumber(text), expected) << text;
    }
}

TEST(ToWholeNumberTest, SignsBlanksAndLeadingZeros) {
    EXPECT_EQ(ToWholeNumber("+7"), 7);
    EXPECT_EQ(ToWholeNumber("-7"), -7);
    EXPECT_EQ(ToWholeNumber("-0"), 0);
    EXPECT_EQ(ToWholeNumber(" \t42 "), 42);
    EXPECT_EQ(ToWholeNumber("000000000000000000000000012"), 12);
}

TEST(ToWholeNumberTest, RangeEdgesAfterRounding) {
    EXPECT_EQ(ToWholeNumber("32767"), 32767);
    EXPECT_EQ(ToWholeNumber("32767.4999"), 32767);
    EXPECT_EQ(ToWholeNumber("32767.5"), std::nullopt);  // rounds to 32768
    EXPECT_EQ(ToWholeNumber("32768"), std::nullopt);
    EXPECT_EQ(ToWholeNumber("-32768"), -32768);
    EXPECT_EQ(ToWholeNumber("-32768.5"), -32768);  // tie goes to the even -32768
    EXPECT_EQ(ToWholeNumber("-32768.51"), std::nullopt);
    EXPECT_EQ(ToWholeNumber("-32769"), std::nullopt);
    EXPECT_EQ(ToWholeNumber("99999999999999999999999999999"), std::nullopt);
    EXPECT_EQ(ToWholeNumber("-99999999999999999999999999999"), std::nullopt);
}

TEST(ToWholeNumberTest, TextThatIsNotANumber) {
    for (const char* junk : {"", " ", "\t", "abc", "12abc", "abc12", "1e3", "0x10", "1,000", "--5", "+-5", "+", "-",
                             ".", "5.5.5", "1 2", "- 5", "５", "\xff"}) {
        EXPECT_EQ(ToWholeNumber(junk), std::nullopt) << '"' << junk << '"';
    }
}

TEST(IsLessThanTest, ComparesTheExactValueWithItsFraction) {
    const auto less = [](const char* text, std::int64_t limit) { return IsLessThan(*ReadDecimal(text), limit); };
    EXPECT_TRUE(less("2999.7", 3000));
    EXPECT_TRUE(less("2999.999999999999999999", 3000));
    EXPECT_FALSE(less("3000", 3000));
    EXPECT_FALSE(less("3000.0", 3000));
    EXPECT_FALSE(less("3000.1", 3000));
    EXPECT_TRUE(less("-0.5", 0));
    EXPECT_FALSE(less("-0", 0));
    EXPECT_TRUE(less("-3000.5", -3000));
    EXPECT_FALSE(less("-2999.5", -3000));
    EXPECT_TRUE(less("-99999999999999999999999", 3000));
    EXPECT_FALSE(less("99999999999999999999999", 3000));
}

TEST(WholeNumberTextTest, PlainDecimalWithMinusSign) {
    EXPECT_EQ(WholeNumberText(-32768), "-32768");
    EXPECT_EQ(WholeNumberText(0), "0");
    EXPECT_EQ(WholeNumberText(32767), "32767");
}

}  // namespace
}  // namespace nudgewick
