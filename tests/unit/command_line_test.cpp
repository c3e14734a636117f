#include <gtest/gtest.h>

#include "startup/command_line.h"

namespace nudgewick {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLineTest, RunsOfBlanksAndTabsSeparateWords) {
    EXPECT_EQ(SplitCommandLine(" \t 5000 \t\t 7  \t"), (Words{"", "5000", "7"}));
    EXPECT_EQ(SplitCommandLine("5000 7"), (Words{"", "5000", "7"}));
}

TEST(SplitCommandLineTest, QuotesAreOrdinaryCharacters) {
    EXPECT_EQ(SplitCommandLine("\"a b\" c\"d"), (Words{"", "\"a", "b\"", "c\"d"}));
}

TEST(SplitCommandLineTest, EmptyAndBlankTextsHaveOnlySlotZero) {
    EXPECT_EQ(SplitCommandLine(""), Words{""});
    EXPECT_EQ(SplitCommandLine(" \t \t"), Words{""});
}

TEST(SplitCommandLineTest, StopsAtTheWordLimit) {
    EXPECT_EQ(SplitCommandLine("a b c", 2), (Words{"", "a", "b"}));
    EXPECT_EQ(SplitCommandLine("a b", 0), Words{""});
    const auto words = SplitCommandLine("1 2 3 4 5 6 7 8 9 10 11 12");
    ASSERT_EQ(words.size(), 11u);
    EXPECT_EQ(words[10], "10");
}

TEST(IntervalFromWordTest, RaisesToTheFloorAndRefusesAboveTheRange) {
    EXPECT_EQ(IntervalFromWord("1000"), 3000);
    EXPECT_EQ(IntervalFromWord("-99999"), 3000);
    EXPECT_EQ(IntervalFromWord("5000"), 5000);
    EXPECT_EQ(IntervalFromWord("4500.5"), 4500);
    EXPECT_EQ(IntervalFromWord("32767"), 32767);
    EXPECT_EQ(IntervalFromWord("32767.5"), std::nullopt);
    EXPECT_EQ(IntervalFromWord("40000"), std::nullopt);
    EXPECT_EQ(IntervalFromWord("soon"), std::nullopt);
}

TEST(CheckCommandLineTest, AcceptsWhatStartUpCanUse) {
    for (const char* text : {"", "  \t ", "5000", "1000 7", "5000 -32768", "5000 7 extra words"}) {
        const auto check = CheckCommandLine(text);
        EXPECT_TRUE(check.proceed) << text << ": " << check.output;
    }
}

TEST(CheckCommandLineTest, RefusesBadWordsNamingThemWithUsage) {
    const std::pair<const char*, const char*> cases[] = {
        {"fast", "\"fast\""},    {"40000", "\"40000\""},   {"5000 40000", "\"40000\""},
        {"5000 7px", "\"7px\""}, {"12abc 3", "\"12abc\""},
    };
    for (const auto& [text, named] : cases) {
        const auto check = CheckCommandLine(text);
        EXPECT_FALSE(check.proceed) << text;
        EXPECT_EQ(check.exitCode, 2) << text;
        EXPECT_NE(check.output.find(named), std::string::npos) << check.output;
        EXPECT_NE(check.output.find("Usage: nudgewick"), std::string::npos) << check.output;
    }
}

TEST(CheckCommandLineTest, HelpAndVersionExitCleanly) {
    for (const char* text : {"--help", "-h", "5000 -h"}) {
        const auto check = CheckCommandLine(text);
        EXPECT_FALSE(check.proceed);
        EXPECT_EQ(check.exitCode, 0);
        EXPECT_EQ(check.output.rfind("Usage: nudgewick", 0), 0u) << check.output;
    }
    const auto version = CheckCommandLine("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "Nudgewick 1.00\n");
}

TEST(JoinArgumentsTest, SingleBlanksBetweenArguments) {
    EXPECT_EQ(JoinArguments({}), "");
    EXPECT_EQ(JoinArguments({"5000", "7"}), "5000 7");
    EXPECT_EQ(JoinArguments({"  "}), "  ");  // a blank-only argument stays non-empty
}

}  // namespace
}  // namespace nudgewick
