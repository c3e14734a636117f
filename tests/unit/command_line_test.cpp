#include <gtest/gtest.h>

#include "startup/command_line.h"
#include "window/number_text.h"

namespace nudgewick {
namespace {

using Words = std::vector<std::string>;

TEST(NumberTextTest, RoundsToNearestWithTiesToEvenAndComparesExactly) {
    const std::pair<const char*, std::optional<std::int64_t>> whole[] = {
        {"0.5", 0},  {"1.5", 2},  {"2.5", 2},  {"3.5", 4},  {"-1.5", -2},  {"-2.5", -2},  {"4500.50000", 4500},
        {"4500.5000001", 4501}, {"4500.4999", 4500},  {".5", 0},  {"5.", 5},  {"-.75", -1},  {"+7", 7},
        {"-0", 0},  {" \t42 ", 42},  {"0000000012", 12},  {"-32768.5", -32768},
        {"18446744073709551619", 1'000'000'000'000'000'000},  // kept at its ceiling, never wrapped round
        {"", {}},  {" ", {}},  {"abc", {}},  {"12abc", {}},  {"1e3", {}},  {"0x10", {}},  {"1,000", {}},
        {"--5", {}},  {"+", {}},  {".", {}},  {"5.5.5", {}},  {"1 2", {}},  {"- 5", {}},  {"\xff", {}},
    };
    for (const auto& [text, expected] : whole) EXPECT_EQ(ToWholeNumber(text), expected) << '"' << text << '"';
    const std::tuple<const char*, std::int64_t, bool> less[] = {
        {"2999.7", 3000, true},  {"2999.999999999999999999", 3000, true},  {"3000", 3000, false},
        {"3000.1", 3000, false},  {"-0.5", 0, true},  {"-0", 0, false},  {"-3000.5", -3000, true},
        {"-3000", -3000, false},  {"-2999.5", -3000, false},  {"-99999999999999999999999", 3000, true},
    };
    for (const auto& [text, limit, is] : less) EXPECT_EQ(IsLessThan(*ReadDecimal(text), limit), is) << text;
}

TEST(SplitCommandLineTest, RunsOfBlanksAndTabsSeparateWordsAndQuotesAreOrdinary) {
    EXPECT_EQ(SplitCommandLine(" \t \t"), Words{""});
    EXPECT_EQ(SplitCommandLine(" \t 5000 \t\t 7  \t"), (Words{"", "5000", "7"}));
    EXPECT_EQ(SplitCommandLine("\"a b\" c\"d"), (Words{"", "\"a", "b\"", "c\"d"}));
    EXPECT_EQ(JoinArguments({"5000", " ", "7"}), "5000   7");  // a blank-only argument stays
}

// exitCode -1: start-up goes ahead, and says is "INTERVAL PIXELS" as read;
// otherwise says is part of what is printed.
TEST(CheckCommandLineTest, ReadsTheSettingsOrSaysWhy) {
    const struct {
        const char* text;
        int exitCode;
        const char* says;
    } cases[] = {
        {"-99999 -32768", -1, "3000 -32768"},
        {"4500.5 32767 extra words", -1, "4500 32767"},
        {"32767", -1, "32767 0"},
        {"fast", 2, "interval \"fast\""},
        {"32767.5", 2, "\"32767.5\""},
        {"18446744073709551616", 2, "\"18446744073709551616\""},  // 2^64 must not wrap round to 0
        {"5000 40000", 2, "the distance \"40000\" is not a number of pixels from -32768 to 32767\n"},
        {"5000 -32769", 2, "\"-32769\""},
        {"5000 7px", 2, "\"7px\""},
        {"--help 5000", 0, "usage: nudgewick [OPTION...] [INTERVAL [PIXELS]]\n"},
        {"-h", 0, "below 3000 counts as 3000 (default 10000)"},
        {" --version", 0, "Nudgewick 1.00\n"},
        {"5000 7 8 --version", -1, "5000 7"},  // options only before the settings
        {"5000 --help", 2, "the distance \"--help\""},
        {"--fast 5000", 2, "nudgewick: \"--fast\" is not an option\n"},
        {"-", 2, "\"-\" is not an option"},
    };
    for (const auto& c : cases) {
        const auto check = CheckCommandLine(c.text);
        const auto& line = check.commandLine;
        EXPECT_EQ(check.proceed, c.exitCode < 0) << c.text;
        if (check.proceed) {
            EXPECT_EQ(WholeNumberText(line.interval) + " " + WholeNumberText(line.pixels), c.says) << c.text;
            continue;
        }
        EXPECT_EQ(check.exitCode, c.exitCode) << c.text;
        EXPECT_NE(check.output.find(c.says), std::string::npos) << c.text << ": " << check.output;
        EXPECT_EQ(c.exitCode == 2, check.output.find("\nusage: ") != std::string::npos) << check.output;
    }
    EXPECT_EQ(CheckCommandLine("abc").windowText,
              "Nudgewick cannot start: the interval \"abc\" is not a number of milliseconds up to 32767.\n\n"
              "Usage: nudgewick [OPTION...] [INTERVAL [PIXELS]]\n");
}

}  // namespace
}  // namespace nudgewick
