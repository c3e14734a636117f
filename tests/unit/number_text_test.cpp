#include <gtest/gtest.h>

#include "core/number_text.h"

namespace nudgewick {
namespace {

TEST(NumberTextTest, RoundsToNearestWithTiesToEvenAndComparesExactly) {
    // clang-format off
    const std::pair<const char*, std::optional<std::int64_t>> whole[] = {
        {"0.5", 0}, {"1.5", 2}, {"2.5", 2}, {"3.5", 4}, {"-1.5", -2}, {"-2.5", -2}, {"4500.50000", 4500},
        {"4500.5000001", 4501}, {"4500.4999", 4500}, {".5", 0}, {"5.", 5}, {"-.75", -1}, {"+7", 7}, {"-0", 0},
        {" \t 42\t", 42}, {"0000000012", 12}, {"18446744073709551619", Decimal::kSaturated},  // never wraps
        {"1000000000000000001", Decimal::kSaturated}, {"950000000000000000", 950000000000000000},
        {"", {}}, {" ", {}}, {"abc", {}}, {"12abc", {}}, {"1e3", {}}, {"0x10", {}}, {"1,000", {}}, {"--5", {}},
        {"+", {}}, {".", {}}, {"5.5.5", {}}, {"1 2", {}}, {"- 5", {}}, {"\xff", {}},
    };
    for (const auto& [text, expected] : whole) EXPECT_EQ(ToWholeNumber(text), expected) << '"' << text << '"';
    const std::tuple<const char*, std::int64_t, bool> less[] = {
        {"2999.999999999999999999", 3000, true}, {"3000", 3000, false}, {"-0.5", 0, true}, {"-0", 0, false},
        {"-3000.5", -3000, true}, {"-3000", -3000, false}, {"-2999.5", -3000, false},
    };
    // clang-format on
    for (const auto& [text, limit, is] : less) EXPECT_EQ(IsLessThan(*ReadDecimal(text), limit), is) << text;
}

}  // namespace
}  // namespace nudgewick
