#include <gtest/gtest.h>

#include "core/accessible_text.h"

namespace nudgewick {
namespace {

// "é" and "€" are two and three bytes; "\xff" and a cut-off "\xe2\x82" are not UTF-8 and count one a byte.
TEST(AccessibleTextTest, OffsetsCountCharactersAndAreClampedToTheText) {
    // The text and its characters; an offset and the byte its character starts at; a range and the text in it;
    // the code point at the offset.
    const std::tuple<const char*, int, int, std::size_t, int, int, const char*, std::optional<std::int32_t>> cases[] = {
        {"4500", 4, 2, 2, 1, 3, "50", '0'},
        {"é€5", 3, 1, 2, 0, -1, "é€5", 0x20AC},
        {"é€5", 3, 2, 5, 2, 99, "5", '5'},
        {"é€5", 3, -7, 0, 2, 1, "", std::nullopt},
        {"é€5", 3, 99, 6, -4, 2, "é€", std::nullopt},
        {"a\xff\xe2\x82", 4, 2, 2, 1, 3, "\xff\xe2", 0xFFFD},
        // A lead byte without its continuation, bytes that lead nothing, then each length's first and last.
        {"\xc3G\xc1\xf5\x80\x80\x80\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf4\x8f\xbf\xbf\xf0\x90\x80\x80", 13, 4, 4,
         7, 9, "\xc2\x80\xdf\xbf", 0xFFFD},
        {"", 0, 0, 0, 0, -1, "", std::nullopt},
        {"9", 1, 0, 0, 0, 0, "", '9'},
    };
    for (const auto& [text, count, offset, byte, start, end, between, codePoint] : cases) {
        EXPECT_EQ(CharacterCount(text), count) << text;
        EXPECT_EQ(ByteOffset(text, offset), byte) << text << " at " << offset;
        EXPECT_EQ(CharacterOffset(text, byte), std::clamp(offset, 0, count)) << text << " at " << byte;
        EXPECT_EQ(TextBetween(text, start, end), between) << text << " " << start << "-" << end;
        EXPECT_EQ(CodePointAt(text, offset), codePoint) << text << " at " << offset;
    }
    EXPECT_EQ(CharacterOffset("é€5", 99), 3) << "past the end";
}

// Each unit at an offset, before it and after it, of "4500" by characters and of "12 €34 ab" by words and lines.
TEST(AccessibleTextTest, ReadsByCharactersWordsAndTheLine) {
    using B = TextBoundary;
    using S = TextSide;
    const char* const digits = "4500";
    const char* const words = "12 €34 ab";
    const std::tuple<const char*, int, B, S, TextSpan> cases[] = {
        // clang-format off
        {digits, 1, B::Char, S::At, {"5", 1, 2}},               {digits, 0, B::Char, S::At, {"4", 0, 1}},
        {digits, 3, B::Char, S::Before, {"0", 2, 3}},           {digits, 3, B::Char, S::After, {"", 4, 4}},
        {digits, 0, B::Char, S::Before, {"", 0, 0}},            {digits, 9, B::Char, S::At, {"", 4, 4}},
        {words, 4, B::WordStart, S::At, {"€34 ", 3, 7}},        {words, 4, B::WordStart, S::Before, {"12 ", 0, 3}},
        {words, 4, B::WordStart, S::After, {"ab", 7, 9}},       {words, 4, B::WordEnd, S::At, {" €34", 2, 6}},
        {words, 1, B::WordEnd, S::At, {"12", 0, 2}},            {words, 4, B::WordEnd, S::After, {" ab", 6, 9}},
        {words, -5, B::LineStart, S::At, {"12 €34 ab", 0, 9}},  {words, 4, B::SentenceEnd, S::Before, {"", 0, 0}},
        {words, 4, B::LineEnd, S::After, {"", 9, 9}},  // then the ends of the digits and the letters:
        {"09 az", 0, B::WordStart, S::At, {"09 ", 0, 3}},       {"09 AZ", 4, B::WordStart, S::At, {"AZ", 3, 5}},
        {"09 az", 1, B::WordEnd, S::At, {"09", 0, 2}},          {"09 az", 4, B::WordEnd, S::At, {" az", 2, 5}},
        {"\x80-", 0, B::WordStart, S::At, {"\x80-", 0, 2}},    {"\x80-", 0, B::WordEnd, S::At, {"\x80", 0, 1}},
        // clang-format on
    };
    for (const auto& [text, offset, boundary, side, want] : cases)
        EXPECT_EQ(TextAround(text, offset, boundary, side), want)
            << text << " at " << offset << " boundary " << int(boundary) << " side " << int(side);
    EXPECT_TRUE(ToTextBoundary(6) && !ToTextBoundary(7)) << "the line's end is the last";
    EXPECT_TRUE(ToTextGranularity(4) && !ToTextGranularity(5)) << "the paragraph is the last";
    using G = TextGranularity;
    const std::tuple<int, G, TextSpan> units[] = {{4, G::Word, {"€34", 3, 6}},      {3, G::Word, {"€34", 3, 6}},
                                                  {0, G::Word, {"12", 0, 2}},       {2, G::Word, {"", 2, 2}},
                                                  {3, G::Char, {"€", 3, 4}},        {99, G::Char, {"", 9, 9}},
                                                  {4, G::Paragraph, {words, 0, 9}}, {8, G::Word, {"ab", 7, 9}}};
    for (const auto& [offset, unit, want] : units)
        EXPECT_EQ(TextUnitAt(words, offset, unit), want) << offset << " " << static_cast<int>(unit);
}

TEST(AccessibleTextTest, EditsTakeWholeCharactersAndTheSmallestChangeIsFound) {
    // Two bytes would split the euro sign.
    for (const auto& [length, whole] : {std::pair(2, ""), {3, "€"}, {-1, "€9"}, {40, "€9"}, {0, ""}})
        EXPECT_EQ(WholeCharacters("€9", length), whole) << length;
    for (const auto& [start, end, range] :
         {std::tuple(1, 3, CharacterRange{1, 3}), {2, -1, {2, 5}}, {3, 1, {3, 3}}, {-9, 99, {0, 5}}})
        EXPECT_EQ(RangeIn("€4500", start, end), range) << start << "-" << end;

    const std::tuple<const char*, const char*, TextChange> changes[] = {
        {"3000", "4500", {0, "30", "45"}}, {"3000", "30000", {4, "", "0"}}, {"é€5", "é5", {1, "€", ""}},
        {"é€5", "é€5", {3, "", ""}},       {"", "12", {0, "", "12"}},       {"aaa", "aa", {2, "a", ""}},
    };
    for (const auto& [before, after, want] : changes)
        EXPECT_EQ(ChangeBetween(before, after), want) << before << " -> " << after;
}

// Characters 8 wide, 10 apart from x 100, the first one taller; a box holds one selection, number 0.
TEST(AccessibleTextTest, RangesArePlacedAndSelectedWithinTheText) {
    const CharacterPlace place = [](int i) { return Rect{100 + 10 * i, 5, 8, i == 0 ? 30 : 20}; };
    using Place = std::optional<Rect>;
    for (const auto& [offset, want] :
         {std::pair(0, Place{{100, 5, 8, 30}}), {2, Rect{120, 5, 8, 20}}, {3, {}}, {-1, {}}})
        EXPECT_EQ(PlaceOfCharacter("€45", offset, place), want) << offset;
    const std::tuple<int, int, Place> ranges[] = {
        {0, 3, Rect{100, 5, 28, 30}}, {3, 1, Rect{110, 5, 18, 20}}, {1, 1, {}}, {-5, 99, Rect{100, 5, 28, 30}}};
    for (const auto& [start, end, want] : ranges) EXPECT_EQ(PlaceOfRange("€45", start, end, place), want) << start;

    const BoxView none{"3000", 4, 2, 2}, some{"3000", 4, 0, 4};
    EXPECT_TRUE(SelectionsOf(none).empty() && SelectionsOf(some) == (std::vector<CharacterRange>{{0, 4}}));
    using C = SelectionCall;
    using R = std::optional<CharacterRange>;  // a second one, or one numbered 1, is refused; removed, it is the caret
    const std::tuple<const BoxView&, C, int, int, int, R> calls[] = {
        {none, C::Add, 0, 3, 1, R{{1, 3}}}, {some, C::Add, 0, 1, 2, {}}, {some, C::Set, 0, 2, 9, R{{2, 4}}},
        {none, C::Set, 0, 1, 2, R{{1, 2}}}, {some, C::Set, 1, 1, 2, {}}, {some, C::Remove, 0, 0, 0, R{{4, 4}}},
        {some, C::Remove, 1, 0, 0, {}}};
    for (const auto& [box, call, number, start, end, want] : calls)
        EXPECT_EQ(SelectionAfter(box, call, number, start, end), want) << int(call) << number << start << end;
}

}  // namespace
}  // namespace nudgewick
