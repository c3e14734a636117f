#pragma once
// A text box's text as assistive technologies read and edit it: offsets
// count characters (Unicode code points) of the UTF-8 text, never bytes.
// Every offset handed in may be anything a client sends: negative, past the
// end, huge. They are clamped to the text, and bytes that are not UTF-8
// count as one character each, so no input can split a character.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/layout.h"

namespace nudgewick {

int CharacterCount(std::string_view text);

// The byte where the character at OFFSET starts; the text's size at or past
// the end, 0 before the start.
std::size_t ByteOffset(std::string_view text, int offset);

// The characters before BYTE (a byte inside a character counts that one).
int CharacterOffset(std::string_view text, std::size_t byte);

// The characters from START to END; an END of -1 (or past the end) reads to
// the end. Empty when START is not before END.
std::string TextBetween(std::string_view text, int start, int end);

// The character at OFFSET as a code point; nothing outside the text.
std::optional<std::int32_t> CodePointAt(std::string_view text, int offset);

struct TextSpan {
    std::string text;
    int start = 0;
    int end = 0;

    bool operator==(const TextSpan&) const = default;
};

// The units a client reads by, numbered as AT-SPI numbers them.
enum class TextBoundary { Char, WordStart, WordEnd, SentenceStart, SentenceEnd, LineStart, LineEnd };
enum class TextGranularity { Char, Word, Sentence, Line, Paragraph };
std::optional<TextBoundary> ToTextBoundary(std::uint32_t value);
std::optional<TextGranularity> ToTextGranularity(std::uint32_t value);

// The unit before, at or after OFFSET: for words the text from one word's
// start (or end) to the next one's; a box holds one line and one sentence.
enum class TextSide { Before, At, After };
TextSpan TextAround(std::string_view text, int offset, TextBoundary boundary, TextSide side);

// The character, word (without the blanks around it), or the whole line at
// OFFSET; a word asked for between words is empty.
TextSpan TextUnitAt(std::string_view text, int offset, TextGranularity granularity);

// The characters from START to END (-1: to the end) that are in the text;
// empty, at START, when START is not before END.
struct CharacterRange {
    int start = 0;
    int end = 0;

    bool operator==(const CharacterRange&) const = default;
};
CharacterRange RangeIn(std::string_view text, int start, int end);

// At most LENGTH bytes of TEXT, cut back to a whole character; all of it
// when LENGTH is negative.
std::string_view WholeCharacters(std::string_view text, int length);

// What turned BEFORE into AFTER, as one run of characters removed at OFFSET
// and one inserted there: the smallest such pair.
struct TextChange {
    int offset = 0;
    std::string removed;
    std::string inserted;

    bool operator==(const TextChange&) const = default;
};
TextChange ChangeBetween(std::string_view before, std::string_view after);

// A box's text and where its caret and selection are, in characters.
struct BoxView {
    std::string text;
    int caret = 0;
    int selectionStart = 0;  // equal to selectionEnd when nothing is selected
    int selectionEnd = 0;

    bool operator==(const BoxView&) const = default;
};

// The place of the character at OFFSET, and of the characters from START to
// END (either way round), from the first one's left to the last one's right;
// nothing where no character is. PLACE gives one character's.
using CharacterPlace = std::function<Rect(int offset)>;
std::optional<Rect> PlaceOfCharacter(std::string_view text, int offset, const CharacterPlace& place);
std::optional<Rect> PlaceOfRange(std::string_view text, int start, int end, const CharacterPlace& place);

// A box has one selection at most, number 0.
std::vector<CharacterRange> SelectionsOf(const BoxView& box);
// The selection a client's call leaves in the box: one added from START to
// END (either way round) where there is none, selection NUMBER set so, or
// removed (an empty one at the caret); nothing for a call the box cannot take.
enum class SelectionCall { Add, Set, Remove };
std::optional<CharacterRange> SelectionAfter(const BoxView& box, SelectionCall call, int number, int start, int end);

}  // namespace nudgewick
