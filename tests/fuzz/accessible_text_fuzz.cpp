// What any client of the accessibility bus hands the window: offsets, lengths, units, points and paths of any
// value, over a box's text of any bytes. Each answer lies within the text, on whole characters, and a change
// found between two texts turns the one into the other.
#include "core/accessible.h"
#include "core/accessible_text.h"
#include "tests/fuzz/fuzz.h"

namespace {

using namespace nudgewick;

void ExpectWithin(std::string_view text, const TextSpan& span) {
    FUZZ_EXPECT(span.start >= 0 && span.start <= span.end && span.end <= CharacterCount(text));
    FUZZ_EXPECT(span.text == TextBetween(text, span.start, span.end));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int start = input.ConsumeIntegral<int>(), end = input.ConsumeIntegral<int>();
    const auto unit = input.ConsumeIntegral<std::uint32_t>();
    const auto side = input.PickValueInArray({TextSide::Before, TextSide::At, TextSide::After});
    AccessibleView view;
    for (Rect& r : view.screen)
        r = {input.ConsumeIntegral<std::int16_t>(), input.ConsumeIntegral<std::int16_t>(),
             input.ConsumeIntegral<std::uint16_t>(), input.ConsumeIntegral<std::uint16_t>()};
    const std::string text = input.ConsumeRandomLengthString(), after = input.ConsumeRemainingBytesAsString();
    const int count = CharacterCount(text);
    FUZZ_EXPECT(CharacterOffset(text, ByteOffset(text, start)) == std::clamp(start, 0, count));
    const CharacterRange range = RangeIn(text, start, end);
    ExpectWithin(text, {TextBetween(text, start, end), range.start, range.end});
    if (const auto boundary = ToTextBoundary(unit)) ExpectWithin(text, TextAround(text, start, *boundary, side));
    if (const auto granularity = ToTextGranularity(unit)) ExpectWithin(text, TextUnitAt(text, start, *granularity));
    if (const auto code = CodePointAt(text, start)) FUZZ_EXPECT(*code >= 0 && *code <= 0x10ffff);
    const std::string_view cut = WholeCharacters(text, end);
    FUZZ_EXPECT(text.starts_with(cut) && (end < 0 || cut.size() <= static_cast<std::size_t>(end)));
    FUZZ_EXPECT(CharacterCount(cut) + CharacterCount(std::string_view(text).substr(cut.size())) == count);
    const TextChange change = ChangeBetween(text, after);
    std::string changed = text;
    changed.replace(ByteOffset(text, change.offset), change.removed.size(), change.inserted);
    FUZZ_EXPECT(changed == after);
    if (const auto node = NodeAtPath(text)) FUZZ_EXPECT(AccessiblePath(*node) == text);
    if (const auto type = ToCoordType(unit))
        for (const AccessibleNode node : kAccessibleNodes) ChildAt(node, view, start, end, *type);
    return 0;
}
