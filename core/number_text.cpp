#include "core/number_text.h"

#include <algorithm>

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

bool IsContinuation(unsigned char byte) { return (byte & 0xc0) == 0x80; }

// The bytes of the well-formed UTF-8 character that starts text, or 0.
std::size_t CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80) return 1;
    const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
    if (length == 0 || lead >= 0xf8 || length > text.size()) return 0;
    char32_t code = lead & (0x7f >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[k]);
        if (!IsContinuation(next)) return 0;
        code = code << 6 | (next & 0x3f);
    }
    constexpr char32_t kLowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLowest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
    return length;
}

// A character, or a byte that starts none.
std::size_t ByteOrCharacter(std::string_view text) { return std::max<std::size_t>(CharacterLength(text), 1); }

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
    while (!bytes.empty()) {
        const std::size_t length = CharacterLength(bytes);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string Quoted(std::string_view word) {
    constexpr std::string_view kCut = "...";
    constexpr std::string_view kReplacement = "\uFFFD";  // for a byte that starts no character
    std::size_t characters = 0;
    for (std::string_view rest = word; !rest.empty(); ++characters) rest.remove_prefix(ByteOrCharacter(rest));
    const std::size_t kept = characters > kLongestQuoted ? kLongestQuoted - kCut.size() : characters;
    std::string quoted(1, '"');
    for (std::size_t i = 0; i < kept; ++i) {
        const std::size_t length = CharacterLength(word);
        quoted += length == 0 ? kReplacement : word.substr(0, length);
        word.remove_prefix(ByteOrCharacter(word));
    }
    return quoted.append(kept < characters ? kCut : "") + '"';
}

}  // namespace nudgewick
