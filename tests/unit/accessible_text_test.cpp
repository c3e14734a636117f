#include <gtest/gtest.h>

#include "core/accessible_text.h"

namespace nudgewick {
namespace {

// "é" and "€" are two and three bytes; "\xff" and a cut-off "\xe2\x82" are not UTF-8 and count one a byte.
TEST(AccessibleTextTest, OffsetsCountCharactersAndAreClampedToTheText) {
    const struct {
        const char* text;
        int count;
        int offset;
        std::size_t byte;  // where the character at offset starts
        int start, end;    // for TextBetween
        const char* between;
        std::optional<std::int32_t> codePoint;
    } cases[] = {
        {"4500", 4, 2, 2, 1, 3, "50", '0'},
        {"é€5", 3, 1, 2, 0, -1, "é€5", 0x20AC},
        {"é€5", 3, 2, 5, 2, 99, "5", '5'},
        {"é€5", 3, -7, 0, 2, 1, "", std::nullopt},
        {"é€5", 3, 99, 6, -4, 2, "é€", std::nullopt},
        {"a\xff\xe2\x82", 4, 2, 2, 1, 3, "\xff\xe2", 0xFFFD},
        // A lead byte without its continuation, bytes that lead nothing, then each length's first and last.
        {"\xc3"
         "A\xc1\xf5\x80\x80\x80\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf4\x8f\xbf\xbf\xf0\x90\x80\x80",
         13, 4, 4, 7, 9, "\xc2\x80\xdf\xbf", 0xFFFD},
        {"", 0, 0, 0, 0, -1, "", std::nullopt},
        {"9", 1, 0, 0, 0, 0, "", '9'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CharacterCount(c.text), c.count) << c.text;
        EXPECT_EQ(ByteOffset(c.text, c.offset), c.byte) << c.text << " at " << c.offset;
        EXPECT_EQ(CharacterOffset(c.text, c.byte), std::clamp(c.offset, 0, c.count)) << c.text << " at " << c.byte;
        EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.between) << c.text << " " << c.start << "-" << c.end;
        EXPECT_EQ(CodePointAt(c.text, c.offset), c.codePoint) << c.text << " at " << c.offset;
    }
}

TEST(AccessibleTextTest, ReadsByCharactersWordsAndTheLine) {
    using B = TextBoundary;
    using S = TextSide;
    const struct {
        const char* text;
        int offset;
        B boundary;
        S side;
        TextSpan want;
    } cases[] = {
        {"4500", 1, B::Char, S::At, {"5", 1, 2}},
        {"4500", 0, B::Char, S::At, {"4", 0, 1}},
        {"4500", 1, B::Char, S::Before, {"4", 0, 1}},
        {"4500", 3, B::Char, S::After, {"", 4, 4}},
        {"4500", 0, B::Char, S::Before, {"", 0, 0}},
        {"4500", 9, B::Char, S::At, {"", 4, 4}},
        {"12 €34 ab", 4, B::WordStart, S::At, {"€34 ", 3, 7}},
        {"12 €34 ab", 4, B::WordStart, S::Before, {"12 ", 0, 3}},
        {"12 €34 ab", 4, B::WordStart, S::After, {"ab", 7, 9}},
        {"12 €34 ab", 4, B::WordEnd, S::At, {" €34", 2, 6}},
        {"12 €34 ab", 1, B::WordEnd, S::At, {"12", 0, 2}},
        {"12 €34 ab", 4, B::WordEnd, S::After, {" ab", 6, 9}},
        {"12 €34 ab", -5, B::LineStart, S::At, {"12 €34 ab", 0, 9}},
        {"12 €34 ab", 4, B::SentenceEnd, S::Before, {"", 0, 0}},
        {"12 €34 ab", 4, B::LineEnd, S::After, {"", 9, 9}},
        {"09 az", 0, B::WordStart, S::At, {"09 ", 0, 3}},  // the ends of the digits and the letters
        {"09 AZ", 4, B::WordStart, S::At, {"AZ", 3, 5}},
        {"09 az", 1, B::WordEnd, S::At, {"09", 0, 2}},
        {"09 az", 4, B::WordEnd, S::At, {" az", 2, 5}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextAround(c.text, c.offset, c.boundary, c.side), c.want)
            << c.text << " at " << c.offset << " boundary " << static_cast<int>(c.boundary) << " side "
            << static_cast<int>(c.side);
    EXPECT_TRUE(ToTextBoundary(6) && !ToTextBoundary(7)) << "the line's end is the last";
    EXPECT_TRUE(ToTextGranularity(4) && !ToTextGranularity(5)) << "the paragraph is the last";

    const struct {
        int offset;
        TextGranularity unit;
        TextSpan want;
    } units[] = {
        {4, TextGranularity::Word, {"€34", 3, 6}},
        {3, TextGranularity::Word, {"€34", 3, 6}},
        {0, TextGranularity::Word, {"12", 0, 2}},
        {2, TextGranularity::Word, {"", 2, 2}},
        {3, TextGranularity::Char, {"€", 3, 4}},
        {99, TextGranularity::Char, {"", 9, 9}},
        {4, TextGranularity::Paragraph, {"12 €34 ab", 0, 9}},
    };
    for (const auto& u : units)
        EXPECT_EQ(TextUnitAt("12 €34 ab", u.offset, u.unit), u.want) << u.offset << " " << static_cast<int>(u.unit);
}

TEST(AccessibleTextTest, EditsTakeWholeCharactersAndTheSmallestChangeIsFound) {
    EXPECT_EQ(WholeCharacters("€9", 2), "") << "two bytes would split the euro sign";
    EXPECT_EQ(WholeCharacters("€9", 3), "€");
    EXPECT_EQ(WholeCharacters("€9", -1), "€9");
    EXPECT_EQ(WholeCharacters("€9", 40), "€9");
    EXPECT_EQ(WholeCharacters("€9", 0), "");
    EXPECT_EQ(RangeIn("€4500", 1, 3), (CharacterRange{1, 3}));
    EXPECT_EQ(RangeIn("€4500", 2, -1), (CharacterRange{2, 5}));
    EXPECT_EQ(RangeIn("€4500", 3, 1), (CharacterRange{3, 3}));
    EXPECT_EQ(RangeIn("€4500", -9, 99), (CharacterRange{0, 5}));

    const struct {
        const char* before;
        const char* after;
        TextChange want;
    } changes[] = {
        {"3000", "4500", {0, "30", "45"}}, {"3000", "30000", {4, "", "0"}}, {"é€5", "é5", {1, "€", ""}},
        {"é€5", "é€5", {3, "", ""}},       {"", "12", {0, "", "12"}},       {"aaa", "aa", {2, "a", ""}},
    };
    for (const auto& c : changes) EXPECT_EQ(ChangeBetween(c.before, c.after), c.want) << c.before << " -> " << c.after;
}

}  // namespace
}  // namespace nudgewick
