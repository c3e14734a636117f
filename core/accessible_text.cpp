#include "core/accessible_text.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "core/utf8.h"

namespace nudgewick {
namespace {

// Each character's bytes.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t byte = 0; byte < text.size(); byte += characters.back().size())
        characters.push_back(text.substr(byte, CharacterSize(text, byte)));
    return characters;
}

int Clamp(int offset, int count) { return std::clamp(offset, 0, count); }

int EndOrAll(int end, int count) { return end < 0 ? count : std::min(end, count); }

// Letters and digits (any character beyond ASCII counts as one) make words;
// blanks and punctuation part them.
bool IsWordCharacter(std::string_view character) {
    const auto c = static_cast<unsigned char>(character.front());
    return c >= 0x80 || (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

// The words in order, each from its first character to past its last.
std::vector<CharacterRange> Words(std::string_view text) {
    std::vector<CharacterRange> words;
    int offset = 0;
    for (const std::string_view character : Characters(text)) {
        if (IsWordCharacter(character)) {
            if (words.empty() || words.back().end < offset) words.push_back({offset, offset});
            ++words.back().end;
        }
        ++offset;
    }
    return words;
}

TextSpan Span(std::string_view text, int start, int end) { return {TextBetween(text, start, end), start, end}; }

}  // namespace

int CharacterCount(std::string_view text) { return static_cast<int>(Characters(text).size()); }

std::size_t ByteOffset(std::string_view text, int offset) {
    std::size_t byte = 0;
    for (int i = 0; i < offset && byte < text.size(); ++i) byte += CharacterSize(text, byte);
    return byte;
}

int CharacterOffset(std::string_view text, std::size_t byte) {
    int offset = 0;
    for (std::size_t at = 0; at < byte && at < text.size(); at += CharacterSize(text, at)) ++offset;
    return offset;
}

std::string TextBetween(std::string_view text, int start, int end) {
    const CharacterRange range = RangeIn(text, start, end);
    const std::size_t first = ByteOffset(text, range.start);
    return std::string(text.substr(first, ByteOffset(text, range.end) - first));
}

std::optional<std::int32_t> CodePointAt(std::string_view text, int offset) {
    if (offset < 0 || offset >= CharacterCount(text)) return std::nullopt;
    const std::size_t byte = ByteOffset(text, offset);
    return static_cast<std::int32_t>(CodePoint(text.substr(byte, CharacterSize(text, byte))));
}

std::optional<TextBoundary> ToTextBoundary(std::uint32_t value) {
    if (value > static_cast<std::uint32_t>(TextBoundary::LineEnd)) return std::nullopt;
    return static_cast<TextBoundary>(value);
}

std::optional<TextGranularity> ToTextGranularity(std::uint32_t value) {
    if (value > static_cast<std::uint32_t>(TextGranularity::Paragraph)) return std::nullopt;
    return static_cast<TextGranularity>(value);
}

TextSpan TextAround(std::string_view text, int offset, TextBoundary boundary, TextSide side) {
    const int count = CharacterCount(text);
    std::vector<int> edges;
    if (boundary == TextBoundary::Char)
        for (int i = 1; i <= count; ++i) edges.push_back(i);  // the first unit starts at 0 anyway
    else if (boundary == TextBoundary::WordStart || boundary == TextBoundary::WordEnd)
        for (const CharacterRange& word : Words(text))
            edges.push_back(boundary == TextBoundary::WordStart ? word.start : word.end);
    // else one line, one sentence: its start and end are the text's
    // The unit at an offset runs from the last edge at or before it to the next edge.
    const auto unitAt = [&](int at) {
        int start = 0, end = count;
        for (const int edge : edges) {
            if (edge <= at) start = edge;
            if (edge > at) {
                end = edge;
                break;
            }
        }
        return std::pair{start, end};
    };
    auto [start, end] = unitAt(Clamp(offset, count));
    if (side == TextSide::Before) {
        end = start;
        start = unitAt(end - 1).first;
    } else if (side == TextSide::After) {
        start = end;
        end = unitAt(start).second;
    }
    return Span(text, start, end);
}

TextSpan TextUnitAt(std::string_view text, int offset, TextGranularity granularity) {
    const int count = CharacterCount(text);
    const int at = Clamp(offset, count);
    switch (granularity) {
    case TextGranularity::Char: return Span(text, at, std::min(at + 1, count));
    case TextGranularity::Word:
        for (const CharacterRange& word : Words(text))
            if (word.start <= at && at < word.end) return Span(text, word.start, word.end);
        return {"", at, at};
    default: return Span(text, 0, count);
    }
}

CharacterRange RangeIn(std::string_view text, int start, int end) {
    const int count = CharacterCount(text);
    const int from = Clamp(start, count), to = EndOrAll(end, count);
    return {from, std::max(from, to)};
}

std::string_view WholeCharacters(std::string_view text, int length) {
    if (length < 0 || static_cast<std::size_t>(length) >= text.size()) return text;
    auto take = static_cast<std::size_t>(length);
    while (take > 0 && IsContinuation(static_cast<unsigned char>(text[take]))) --take;
    return text.substr(0, take);
}

TextChange ChangeBetween(std::string_view before, std::string_view after) {
    const std::vector<std::string_view> old = Characters(before), now = Characters(after);
    // The characters both start with, then of the rest those both end with.
    const auto [oldRest, newRest] = std::mismatch(old.begin(), old.end(), now.begin(), now.end());
    const auto [oldTail, newTail] = std::mismatch(old.rbegin(), std::make_reverse_iterator(oldRest), now.rbegin(),
                                                  std::make_reverse_iterator(newRest));
    const auto joined = [](auto from, auto to) {
        std::string text;
        for (; from != to; ++from) text += *from;
        return text;
    };
    return {static_cast<int>(oldRest - old.begin()), joined(oldRest, oldTail.base()), joined(newRest, newTail.base())};
}

std::optional<Rect> PlaceOfCharacter(std::string_view text, int offset, const CharacterPlace& place) {
    if (offset < 0 || offset >= CharacterCount(text)) return std::nullopt;
    return place(offset);
}

std::optional<Rect> PlaceOfRange(std::string_view text, int start, int end, const CharacterPlace& place) {
    const CharacterRange range = RangeIn(text, std::min(start, end), std::max(start, end));
    if (range.start == range.end) return std::nullopt;
    const Rect first = place(range.start), last = place(range.end - 1);
    return Rect{first.x, first.y, last.x + last.width - first.x, std::max(first.height, last.height)};
}

std::vector<CharacterRange> SelectionsOf(const BoxView& box) {
    if (box.selectionStart == box.selectionEnd) return {};
    return {{box.selectionStart, box.selectionEnd}};
}

std::optional<CharacterRange> SelectionAfter(const BoxView& box, SelectionCall call, int number, int start, int end) {
    if (number != 0 || (call == SelectionCall::Add && !SelectionsOf(box).empty())) return std::nullopt;
    if (call == SelectionCall::Remove) return CharacterRange{box.caret, box.caret};
    return RangeIn(box.text, std::min(start, end), std::max(start, end));
}

}  // namespace nudgewick
