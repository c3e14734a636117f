// Text-to-number conversion against a slow reference that keeps the number as
// its digit strings and compares them digit by digit: no binary floating point
// and no shortcuts on the fraction. The whole input is the text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "require.h"
#include "startup/command_line.h"
#include "window/frm_main.h"
#include "window/number_text.h"

namespace {

using nudgewick::fuzz::Require;

// A number as written: whole digits without leading zeros, fraction digits as typed.
struct Written {
    bool negative = false;
    std::string whole;
    std::string fraction;
};

bool AllDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<Written> ReferenceRead(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    Written number;
    if (text[0] == '+' || text[0] == '-') {
        number.negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const auto point = std::min(text.find('.'), text.size());
    const auto whole = text.substr(0, point);
    const auto fraction = text.substr(std::min(point + 1, text.size()));
    if (!AllDigits(whole) || !AllDigits(fraction) || text == "." || text.empty()) {
        return std::nullopt;
    }
    number.whole = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
    number.fraction = fraction;
    return number;
}

Written FromInteger(std::int64_t value) {
    Written number;
    number.negative = value < 0;
    if (value != 0) number.whole = std::to_string(value).substr(number.negative ? 1 : 0);
    return number;
}

bool IsZero(const Written& n) { return n.whole.empty() && n.fraction.find_first_not_of('0') == std::string::npos; }

// Negative, zero or positive as |a| is below, equal to or above |b|. Fractions
// are padded with zeros to one length, so that string order is number order.
int CompareMagnitude(const Written& a, const Written& b) {
    if (a.whole.size() != b.whole.size()) return a.whole.size() < b.whole.size() ? -1 : 1;
    if (a.whole != b.whole) return a.whole < b.whole ? -1 : 1;
    const std::size_t length = std::max(a.fraction.size(), b.fraction.size());
    std::string fa = a.fraction, fb = b.fraction;
    fa.resize(length, '0');
    fb.resize(length, '0');
    return fa.compare(fb);
}

bool ReferenceLess(const Written& a, const Written& b) {
    const bool aNegative = a.negative && !IsZero(a);
    const bool bNegative = b.negative && !IsZero(b);
    if (aNegative != bNegative) return aNegative;
    const int order = CompareMagnitude(a, b);
    return aNegative ? order > 0 : order < 0;
}

// Nearest whole number, ties to even; nothing when the whole part has more
// digits than an int64 comfortably holds, far outside every accepted range.
std::optional<std::int64_t> ReferenceRound(const Written& n) {
    if (n.whole.size() > 17) return std::nullopt;
    const std::int64_t below = n.whole.empty() ? 0 : std::stoll(n.whole);
    const int overHalf = CompareMagnitude({false, "", n.fraction}, {false, "", "5"});
    const bool up = overHalf > 0 || (overHalf == 0 && below % 2 == 1);
    const std::int64_t magnitude = below + (up ? 1 : 0);
    return n.negative ? -magnitude : magnitude;
}

// What ToWholeNumber and IntervalFromWord should give for a number.
std::optional<std::int16_t> ExpectedWhole(std::optional<std::int64_t> rounded) {
    if (!rounded || *rounded < -32768 || *rounded > 32767) return std::nullopt;
    return static_cast<std::int16_t>(*rounded);
}

std::optional<std::int16_t> ExpectedInterval(const Written& n, std::optional<std::int64_t> rounded) {
    if (rounded ? *rounded > 32767 : !n.negative) return std::nullopt;
    // Huge negative numbers are raised to the floor like any other below it.
    return std::max(ExpectedWhole(rounded).value_or(0), nudgewick::kIntervalFloor);
}

void CheckText(std::string_view text) {
    const auto decimal = nudgewick::ReadDecimal(text);
    const auto written = ReferenceRead(text);
    Require(decimal.has_value() == written.has_value(), "reads the same texts as numbers");
    if (!written) {
        Require(!nudgewick::ToWholeNumber(text), "no whole number from other text");
        Require(!nudgewick::IntervalFromWord(text), "no interval from other text");
        return;
    }

    const auto rounded = ReferenceRound(*written);
    if (rounded) Require(nudgewick::RoundHalfEven(*decimal) == *rounded, "nearest, ties to even");
    for (const std::int64_t limit : {3000, -3000, 0, 32767}) {
        const bool less = ReferenceLess(*written, FromInteger(limit));
        Require(nudgewick::IsLessThan(*decimal, limit) == less, "exact comparison with a limit");
    }
    Require(nudgewick::ToWholeNumber(text) == ExpectedWhole(rounded), "16-bit whole number");
    Require(nudgewick::IntervalFromWord(text) == ExpectedInterval(*written, rounded),
            "interval rounded and raised to the floor");
}

}  // namespace

// Every 16-bit value survives the trip to text and back; checked once per run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (std::int64_t v = -32768; v <= 32767; ++v) {
        const std::string text = nudgewick::WholeNumberText(v);
        Require(nudgewick::ToWholeNumber(text) == v, "round trip through text");
        CheckText(text);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckText(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
