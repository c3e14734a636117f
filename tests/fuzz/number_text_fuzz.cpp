// The numbers the boxes and the command line take, any text: read exactly as the C library reads a decimal
// number short enough for a long double to hold, rounded to even; the settings within their ranges.
#include <cfenv>
#include <cmath>

#include "core/number_text.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nudgewick;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto number = ReadDecimal(text);
    const auto whole = ToWholeNumber(text);
    FUZZ_EXPECT(number.has_value() == whole.has_value());
    if (!number) return 0;
    FUZZ_EXPECT(ToWholeNumber(WholeNumberText(*whole)) == whole);
    if (std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) <= 17) {
        const long double value = std::strtold(text.c_str(), nullptr);
        FUZZ_EXPECT(std::fegetround() == FE_TONEAREST && std::nearbyint(value) == static_cast<long double>(*whole));
        for (const std::int64_t limit : {std::int64_t{kIntervalFloor}, std::int64_t{kPixelsLowest}, std::int64_t{0}})
            FUZZ_EXPECT(IsLessThan(*number, limit) == (value < static_cast<long double>(limit)));
    }
    if (const auto pixels = PixelsFromText(text)) FUZZ_EXPECT(*pixels == *whole);
    if (const auto interval = IntervalFromWord(text)) FUZZ_EXPECT(*interval >= kIntervalFloor && *interval >= *whole);
    return 0;
}
