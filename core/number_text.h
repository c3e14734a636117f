#pragma once
// Text as the user types it: whole numbers read exactly (no binary floating
// point), a fraction rounded to the nearest whole number with ties going to
// the even neighbour; and the character rules every reader of typed words
// shares.

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

// '0' to '9' only, whatever the locale.
bool IsDigit(char c);

// An ASCII control character: below a blank, or DEL.
bool IsControl(char c);

// The digits the text starts with, if any.
std::string_view LeadingDigits(std::string_view text);

// The text with A to Z made a to z; other bytes stay as they are.
std::string LowerCase(std::string_view text);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view bytes);

// A word as a message names it: in double quotes, each byte that is not UTF-8
// shown as U+FFFD, and at most kLongestQuoted characters (code points) long,
// a longer word cut short with "...".
inline constexpr std::size_t kLongestQuoted = 60;
std::string Quoted(std::string_view word);

}  // namespace nudgewick
