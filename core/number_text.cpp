#include "core/number_text.h"

#include <algorithm>

#include "core/utf8.h"

namespace nudgewick {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Classifies the digits after the point against one half.
Decimal::Fraction ClassifyFraction(std::string_view digits) {
    const auto last = digits.find_last_not_of('0');
    if (last == std::string_view::npos) return Decimal::Fraction::None;
    digits = digits.substr(0, last + 1);
    if (digits.front() < '5') return Decimal::Fraction::BelowHalf;
    if (digits.front() == '5' && digits.size() == 1) return Decimal::Fraction::Half;
    return Decimal::Fraction::AboveHalf;
}

}  // namespace

std::optional<Decimal> ReadDecimal(std::string_view text) {
    text = TrimBlanks(text);
    Decimal number;
    if (text.starts_with('+') || text.starts_with('-')) {
        number.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::string_view whole = LeadingDigits(text);
    text.remove_prefix(whole.size());
    std::string_view fraction;
    if (text.starts_with('.')) {
        fraction = LeadingDigits(text.substr(1));
        text.remove_prefix(1 + fraction.size());
    }
    if (!text.empty() || whole.size() + fraction.size() == 0) return std::nullopt;
    for (const char c : whole) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        number.whole = number.whole >= Decimal::kSaturated / 10 ? Decimal::kSaturated : number.whole * 10 + digit;
    }
    // A saturated number is as far out of every range with its fraction as without.
    if (number.whole != Decimal::kSaturated) number.fraction = ClassifyFraction(fraction);
    return number;
}

bool IsLessThan(const Decimal& number, std::int64_t limit) {
    const auto whole = static_cast<std::int64_t>(number.whole);
    if (!number.negative) return whole < limit;  // whole <= limit-1 keeps whole+fraction below limit
    // -(whole + fraction) < limit  <=>  whole + fraction > -limit
    const bool hasFraction = number.fraction != Decimal::Fraction::None;
    return hasFraction ? whole >= -limit : whole > -limit;
}

std::int64_t RoundHalfEven(const Decimal& number) {
    auto magnitude = static_cast<std::int64_t>(number.whole);
    const bool roundUp = number.fraction == Decimal::Fraction::AboveHalf ||
                         (number.fraction == Decimal::Fraction::Half && magnitude % 2 == 1);
    if (roundUp) ++magnitude;
    return number.negative ? -magnitude : magnitude;
}

std::optional<std::int64_t> ToWholeNumber(std::string_view text) {
    const auto number = ReadDecimal(text);
    if (!number) return std::nullopt;
    return RoundHalfEven(*number);
}

std::string WholeNumberText(std::int64_t value) { return std::to_string(value); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

std::string_view LeadingDigits(std::string_view text) {
    return text.substr(0, std::min(text.find_first_not_of("0123456789"), text.size()));
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool IsUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += CharacterSize(bytes, at))
        if (IsStray(bytes, at)) return false;
    return true;
}

std::string Quoted(std::string_view word) {
    constexpr std::string_view kCut = "...";
    constexpr std::string_view kReplacement = "\uFFFD";  // for a byte that starts no character
    std::size_t characters = 0;
    for (std::size_t at = 0; at < word.size(); at += CharacterSize(word, at)) ++characters;
    const std::size_t kept = characters > kLongestQuoted ? kLongestQuoted - kCut.size() : characters;
    std::string quoted(1, '"');
    for (std::size_t i = 0, at = 0; i < kept; ++i, at += CharacterSize(word, at))
        quoted += IsStray(word, at) ? kReplacement : word.substr(at, CharacterSize(word, at));
    return quoted.append(kept < characters ? kCut : "") + '"';
}

}  // namespace nudgewick
