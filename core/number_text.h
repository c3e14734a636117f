#pragma once
// Whole numbers as the user types them: exact decimal reading (no binary
// floating point), rounding a fraction to the nearest whole number with ties
// going to the even neighbour.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nudgewick {

// A decimal number read from text, kept exactly enough to compare it with a
// whole number and to round it. Magnitudes beyond kSaturated are kept as
// kSaturated, which is far outside every range the program accepts.
struct Decimal {
    enum class Fraction { None, BelowHalf, Half, AboveHalf };
    static constexpr std::uint64_t kSaturated = 1'000'000'000'000'000'000;

    bool negative = false;
    std::uint64_t whole = 0;
    Fraction fraction = Fraction::None;
};

// Reads an optional sign, digits and an optional fraction, with blanks and
// tabs allowed around them. Nothing when the text is not such a number.
std::optional<Decimal> ReadDecimal(std::string_view text);

// Exact comparison of the number as written, fraction kept.
bool IsLessThan(const Decimal& number, std::int64_t limit);

// The nearest whole number, ties to even.
std::int64_t RoundHalfEven(const Decimal& number);

// The text rounded to the nearest whole number, ties to even; nothing when it
// is not a number.
std::optional<std::int64_t> ToWholeNumber(std::string_view text);

// Plain decimal, a minus sign for negative values, no blanks.
std::string WholeNumberText(std::int64_t value);

}  // namespace nudgewick
