#include <gtest/gtest.h>

#include "startup/command_line.h"
#include "window/number_text.h"
#include "window/session.h"

namespace nudgewick {
namespace {

using Words = std::vector<std::string>;

TEST(NumberTextTest, RoundsToNearestWithTiesToEvenAndComparesExactly) {
    // clang-format off
    const std::pair<const char*, std::optional<std::int64_t>> whole[] = {
        {"0.5", 0}, {"1.5", 2}, {"2.5", 2}, {"3.5", 4}, {"-1.5", -2}, {"-2.5", -2}, {"4500.50000", 4500},
        {"4500.5000001", 4501}, {"4500.4999", 4500}, {".5", 0}, {"5.", 5}, {"-.75", -1}, {"+7", 7}, {"-0", 0},
        {" \t 42\t", 42}, {"0000000012", 12}, {"18446744073709551619", 1'000'000'000'000'000'000},  // never wraps
        {"", {}}, {" ", {}}, {"abc", {}}, {"12abc", {}}, {"1e3", {}}, {"0x10", {}}, {"1,000", {}}, {"--5", {}},
        {"+", {}}, {".", {}}, {"5.5.5", {}}, {"1 2", {}}, {"- 5", {}}, {"\xff", {}},
    };
    for (const auto& [text, expected] : whole) EXPECT_EQ(ToWholeNumber(text), expected) << '"' << text << '"';
    const std::tuple<const char*, std::int64_t, bool> less[] = {
        {"2999.999999999999999999", 3000, true}, {"3000", 3000, false}, {"-0.5", 0, true}, {"-0", 0, false},
        {"-3000.5", -3000, true}, {"-3000", -3000, false}, {"-2999.5", -3000, false},
    };
    // clang-format on
    for (const auto& [text, limit, is] : less) EXPECT_EQ(IsLessThan(*ReadDecimal(text), limit), is) << text;
}

// What start-up goes ahead with: "INTERVAL PIXELS [POSITIONAL TEXT]" and the options.
std::string Read(const CommandLine& line) {
    std::string read = WholeNumberText(line.interval) + " " + WholeNumberText(line.pixels) + " [" + line.text + "]";
    if (line.minimized) read += " minimized";
    if (line.check) read += " check";
    if (line.runFor) read += " for " + WholeNumberText(line.runFor->count()) + "s";
    if (line.runUntil) read += " until " + WholeNumberText(line.runUntil->hour * 100 + line.runUntil->minute);
    return read;
}

// exitCode -1: start-up goes ahead with what says; otherwise says is part of
// what is printed.
TEST(CheckCommandLineTest, ReadsOptionsThenSettingsOrSaysWhy) {
    const struct {
        const char* text;
        int exitCode;
        const char* says;
    } cases[] = {
        {"-99999 -32768", -1, "3000 -32768 [-99999 -32768]"},
        {"4500.5 32767 extra words", -1, "4500 32767 [4500.5 32767 extra words]"},
        {" 32767", -1, "32767 0 [ 32767]"},
        {"--minimized", -1, "0 0 [] minimized"},       // no settings: the defaults
        {"--minimized   ", -1, "0 0 [  ] minimized"},  // blanks only: both settings 0
        {"--for 1h30m\t 5000 7", -1, "5000 7 [ 5000 7] for 5400s"},
        {"--until 23:59 --minimized", -1, "0 0 [] minimized until 2359"},
        {"--check 5000", -1, "5000 0 [5000] check"},
        {"--for 1s", -1, "0 0 [] for 1s"},
        {"--for 6d24h", -1, "0 0 [] for 604800s"},
        {"--for 604800s", -1, "0 0 [] for 604800s"},
        {"--for 0", 2, "--for \"0\" is not a duration from 1s to 7d"},
        {"--for 8d", 2, "\"8d\" is not a duration"},
        {"--for 10x", 2, "\"10x\" is not a duration"},
        {"--for 30m1h", 2, "\"30m1h\" is not a duration"},
        {"--for 99999999999999999999h", 2, "is not a duration"},
        {"--for", 2, "--for needs a value"},
        {"--until 24:00", 2, "--until \"24:00\" is not a time of day"},
        {"--until 23:60", 2, "\"23:60\" is not a time"},
        {"--until 001:30", 2, "\"001:30\" is not a time"},
        {"--until +1:30", 2, "\"+1:30\" is not a time"},
        {"--until :30", 2, "\":30\" is not a time"},
        {"--for 1h --until 17:30", 2, "--for and --until cannot both be given"},
        {"fast", 2, "interval \"fast\""},
        {"18446744073709551616", 2, "\"18446744073709551616\""},  // 2^64 must not wrap round to 0
        {"5000 40000", 2, "the distance \"40000\" is not a number of pixels from -32768 to 32767\n"},
        {"5000 -32769", 2, "\"-32769\""},
        {"--help 5000", 0, "Usage: nudgewick [OPTION...] [INTERVAL [PIXELS]]\n"},
        {"-h", 0, "below 3000 counts as 3000 (default 10000)"},
        {"--minimized --help", 0, "  --version       print the version and exit\n"},
        {" --version", 0, "Nudgewick 1.00\n"},
        {"5000 7 8 --version", -1, "5000 7 [5000 7 8 --version]"},  // options only before the settings
        {"5000 --help", 2, "the distance \"--help\""},
        {"--fast 5000", 2, "nudgewick: \"--fast\" is not an option\n"},
    };
    for (const auto& c : cases) {
        const auto check = CheckCommandLine(c.text);
        EXPECT_EQ(check.proceed, c.exitCode < 0) << c.text;
        if (check.proceed) {
            EXPECT_EQ(Read(check.commandLine), c.says) << c.text;
            continue;
        }
        EXPECT_EQ(check.exitCode, c.exitCode) << c.text;
        EXPECT_NE(check.output.find(c.says), std::string::npos) << c.text << ": " << check.output;
        EXPECT_EQ(c.exitCode == 2, check.output.find("\nusage: ") != std::string::npos) << check.output;
    }
    EXPECT_EQ(CheckCommandLine(" \t 5000 \t\t 7  \t").commandLine.words, (Words{"", "5000", "7"}));
    EXPECT_EQ(SplitCommandLine("\"a b\" c\"d"), (Words{"", "\"a", "b\"", "c\"d"}));  // no quoting
    EXPECT_EQ(JoinArguments({"5000", " ", "7"}), "5000   7");                        // a blank-only argument stays
    EXPECT_EQ(CheckCommandLine("abc").windowText,
              "Nudgewick cannot start: the interval \"abc\" is not a number of milliseconds up to 32767.\n\n"
              "Usage: nudgewick [OPTION...] [INTERVAL [PIXELS]]\n");
}

}  // namespace
}  // namespace nudgewick
