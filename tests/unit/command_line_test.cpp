#include <gtest/gtest.h>

#include <algorithm>

#include "core/command_line.h"
#include "core/help_text.h"
#include "core/hotkey.h"
#include "core/number_text.h"
#include "core/options.h"
#include "core/version.h"

namespace nudgewick {
namespace {

using namespace std::string_literals;

// What the window starts with: "INTERVAL PIXELS" and the options.
std::string Read(const StartSettings& settings) {
    std::string read = WholeNumberText(settings.interval) + " " + WholeNumberText(settings.pixels);
    if (settings.minimized) read += " minimized";
    if (settings.check) read += " check";
    if (settings.runFor) read += " for " + WholeNumberText(settings.runFor->count()) + "s";
    const auto hhmm = [](ClockTime time) { return WholeNumberText(time.hour * 100 + time.minute); };
    if (settings.runUntil) read += " until " + hhmm(*settings.runUntil);
    if (const auto& work = settings.workHours) {
        if (work->hours) read += " hours " + hhmm(work->hours->first) + "-" + hhmm(work->hours->second);
        read += " days " + WholeNumberText(work->days);  // bit 0 Monday
    }
    // The key's number too, which the front-ends turn into their systems' key codes, and the desktop's trigger.
    if (const auto& hotkey = settings.hotkey)
        read +=
            " hotkey " + HotkeyText(*hotkey) + " " + WholeNumberText(hotkey->number) + " " + ShortcutTrigger(*hotkey);
    if (settings.command != Command::Start) read += " command " + WholeNumberText(int(settings.command));
    if (settings.pid) read += " pid " + WholeNumberText(*settings.pid);
    if (settings.whileRunning) read += " while " + *settings.whileRunning;
    if (settings.battery) read += " battery " + WholeNumberText(*settings.battery);
    if (settings.commandAt) read += " runs from " + WholeNumberText(std::int64_t(*settings.commandAt));
    return read;
}

TEST(CommandLineTest, StartsWithTheSettingsAskedFor) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"1000 7", "3000 7"}, {"5000", "5000 0"}, {"", "10000 3"},  // raised to the floor; no distance: 0; the defaults
        {" \t ", "0 0"}, {"--minimized   ", "0 0 minimized"},  // blanks only, or after options: both settings stay 0
        {" \t5000\t\t  -5 \t", "5000 -5"}, {"-99999 -32768", "3000 -32768"},  // negative numbers are no options
        {"--minimized", "10000 3 minimized"}, {"5000 7 8 --version", "5000 7"},  // options only before the settings
        {"4500.5 32767 extra words", "4500 32767"}, {"32767 32767", "32767 32767"},
        {"--for 1h30m\t 5000 7", "5000 7 for 5400s"}, {"--until 23:59 --minimized", "10000 3 minimized until 2359"},
        {"--check 5000", "5000 0 check"}, {"--for 6d24h", "10000 3 for 604800s"},
        {"--for=90m 5000", "5000 0 for 5400s"}, {"--for 1h --for 1s", "10000 3 for 1s"},  // the later counts
        {"--until 9:00 --until=17:30", "10000 3 until 1730"}, {"--while ... 5000", "5000 0 while ..."},
        {"--hours 9:00-17:30 5000", "5000 0 hours 900-1730 days 127"},
        {"--days=mon-fri --hours=22:00-06:00", "10000 3 hours 2200-600 days 31"},
        {"--hours 00:00-24:00 --days sat", "10000 3 hours 0-2400 days 32"}, {"--days sat,sun,mon", "10000 3 days 97"},
        {"--days Mon,wed-FRI --days fri-mon", "10000 3 days 113"},  // the last one counts; round the week's end
        // Each kind of key at both ends of its range.
        {"--hotkey ctrl+alt+n", "10000 3 hotkey ctrl+alt+n 13 CTRL+ALT+n"},
        {"--hotkey Shift+Z", "10000 3 hotkey shift+z 25 SHIFT+z"},
        {"--hotkey=super+Alt+a --minimized", "10000 3 minimized hotkey alt+super+a 0 ALT+LOGO+a"},
        {"--hotkey ctrl+0", "10000 3 hotkey ctrl+0 0 CTRL+0"}, {"--hotkey super+9", "10000 3 hotkey super+9 9 LOGO+9"},
        {"--hotkey ctrl+F1", "10000 3 hotkey ctrl+f1 1 CTRL+F1"},
        {"--hotkey super+shift+alt+ctrl+f24", "10000 3 hotkey ctrl+alt+shift+super+f24 24 CTRL+ALT+SHIFT+LOGO+F24"},
        {"--toggle", "10000 3 command 1"}, {"--status  ", "0 0 command 5"},  // blanks after it are no words
        {"-- make -j4", "10000 3 minimized runs from 3"}, {"5000 -- --help", "5000 0 minimized runs from 8"},
        {"5000 2 7 --\tsh -c 'exit 7' -- x", "5000 2 minimized runs from 12"},  // the first -- ends the settings
        {"--pid 2147483647 --while=Zoom.exe --pid 01", "10000 3 pid 1 while Zoom.exe"},
        {"--battery 100 --battery=0", "10000 3 battery 0"}, {"--battery 040 5000", "5000 0 battery 40"},
        {"--while \xc3\xa9 -- x", "10000 3 minimized while \xc3\xa9 runs from 14"},
    };
    // clang-format on
    for (const auto& [text, read] : cases) {
        const auto check = CheckCommandLine(text);
        EXPECT_TRUE(check.proceed) << text;
        EXPECT_EQ(Read(check.settings), read) << text;
    }
}

// A refusal names the word it refuses, on the console and in the window's text, and ends with the usage line that every
// refusal shares. Most name a value, quoted: there the command line's last word.
TEST(CommandLineTest, RefusesABadWordNamingIt) {
    // clang-format off
    const std::string namingTheLastWord[] = {
        "--for 0", "--for 8d", "--for 10x", "--for 30m1h", "--for 99999999999999999999h", "--for 604801s",
        "--until 24:00", "--until 23:60", "--until 001:30", "--until +1:30", "--until :30", "fast", "5000 --help",
        "18446744073709551616", std::string(60, '7'),  // 2^64 must not wrap round to 0; the longest word shown whole
        "32768", "5000 40000", "5000 -32769", "--for=", "--hours 25:00-17:00", "--hours 09:00-09:00",
        "--hours 09:00-17", "--hours 9am-5pm", "--hours 00:00-24:01", "--hours=09:00", "--days mon-funday",
        "--hours 24:00-06:00",  // 24:00 only ends a day
        "--days mon,", "--days monday", "--hotkey n", "--hotkey +n", "--hotkey ctrl+", "--hotkey ctrl+alt",
        "--hotkey ctrl+ctrl+n", "--hotkey hyper+n", "--hotkey ctrl+f25", "--hotkey ctrl+f0", "--hotkey ctrl+f05",
        "--hotkey ctrl+f1x", "--hotkey ctrl+nn", "--hotkey ctrl+g12", "--hotkey ctrl+`", "--hotkey ctrl+{",
        "--hotkey ctrl+/", "--hotkey ctrl+:",  // beside a to z and 0 to 9
        "--pid 0", "--pid 2147483648", "--pid -5", "--pid 5.0", "--while bin/make", "--while C:\\zoom.exe",
        "--while -zoom", "--while=", "--while zo\0om"s, "--while .", "--while=..", "--battery 101",
        "--battery -1", "--battery 40.0", "--battery 4e1", "--battery=", "--battery 18446744073709551717",
    };
    std::vector<std::pair<std::string, std::string>> cases = {
        {"\"5000\" 7", "\"\"5000\"\""},  // quotes are no quoting
        {"--fast 5000", "\"--fast\""}, {"--fast=1", "\"--fast\""}, {"--for", "--for"},
        {"--for 1h --until 17:30", "--until"}, {"--minimized=yes", "--minimized"}, {"--check=yes", "--check"},
        {"--help=me", "--help"}, {"-h=1", "-h"}, {"--version=2", "--version"}, {"--hours", "--hours"},
        {"--battery", "--battery"}, {"--battery 3000 3", "\"3000\""},
        {"--stop --go", "--stop"},  // a command stands alone
        {"--minimized --quit", "--quit"}, {"--stop=now", "--stop"}, {"--status 5000", "--status"},
        {"5000 --  ", "--"},  // no command after it
        {"--toggle -- make", "--toggle"}, {"--check -- make", "--check"},
        {"--pid -- make", "--pid"},  // the first -- starts the command
        {"--until 9:00 --for 1h", "--for"}, {"--while zoom meeting 5000", "\"zoom meeting\""},  // a name has no blanks
        {"--while zo\xffom", "\"zo\uFFFDom\""}, {"--hours=\xe2\x82", "\"\uFFFD\uFFFD\""},  // not UTF-8: shown readable
        {"--days \xed\xa0\x80", "\"\uFFFD\uFFFD\uFFFD\""},  // a surrogate is no character either
        {std::string(61, '7'), '"' + std::string(57, '7') + "...\""},  // cut short, at a character's start
        {"--while " + std::string(256, 'z'), '"' + std::string(57, 'z') + "...\""},
        {"--pid " + std::string(56, 'z') + "\xc3\xa9zzzz", '"' + std::string(56, 'z') + "\xc3\xa9...\""},
    };
    // clang-format on
    for (const std::string& text : namingTheLastWord)
        cases.emplace_back(text, '"' + text.substr(text.find_last_of(" =") + 1) + '"');
    const std::string usage = CheckCommandLine("fast").output.substr(CheckCommandLine("fast").output.find('\n'));
    EXPECT_TRUE(CheckCommandLine("--while " + std::string(255, 'z')).proceed);
    for (const auto& [text, names] : cases) {
        const auto check = CheckCommandLine(text);
        EXPECT_FALSE(check.proceed) << text;
        EXPECT_EQ(check.exitCode, 2) << text;
        EXPECT_NE(check.output.find(" " + names), std::string::npos) << text << ": " << check.output;
        EXPECT_NE(check.windowText.find(" " + names), std::string::npos) << text << ": " << check.windowText;
        EXPECT_TRUE(check.output.ends_with(usage)) << text << ": " << check.output;
    }
    // Hours that cannot be read are told so alike, whichever way they are wrong; hours that start as they end, or
    // none given, are told so in other words.
    const auto refusal = [](std::string_view word) {
        std::string output = CheckCommandLine("--hours " + std::string(word)).output;
        return output.replace(output.find(word), word.size(), "WORD");
    };
    EXPECT_EQ(refusal("09:00"), refusal("9am-5pm"));
    EXPECT_NE(refusal("09:00-09:00"), refusal("9am-5pm"));
    EXPECT_NE(CheckCommandLine("--hours").output, CheckCommandLine("--hours=").output) << "none, or empty";
}

// Arguments that arrive already split join with one blank between them (one of blanks only is a setting's place left
// empty); the command after "--" comes back as they gave it, whatever blanks it holds.
TEST(CommandLineTest, ArgumentsJoinAndTheCommandKeepsThem) {
    EXPECT_EQ(JoinArguments({"5000", " ", "7"}), "5000   7");
    using Words = std::vector<std::string>;
    for (const auto& [arguments, command] :
         {std::pair<Words, Words>{{"5", "--", "sh", "-c", "exit 7"}, {"sh", "-c", "exit 7"}},
          {{"--", "", "a  b", ""}, {"", "a  b", ""}},
          {{"5", "-- make  all"}, {"make  all"}},
          {{"--\t", "make"}, {"make"}}}) {
        const auto at = CheckCommandLine(JoinArguments(arguments)).settings.commandAt;
        EXPECT_EQ(ArgumentsFrom(arguments, at.value_or(99)), command) << arguments[0];
    }
}

TEST(CommandLineTest, HelpAndVersionPrintAndEnd) {
    const auto help = CheckCommandLine("--help");
    for (const char* text : {"-h", "--help 5000", "--minimized --help", " --help"}) {
        const auto check = CheckCommandLine(text);
        EXPECT_EQ(std::tuple(check.proceed, check.exitCode, check.output), std::tuple(false, 0, help.output)) << text;
    }
    const auto version = CheckCommandLine(" --version");
    EXPECT_FALSE(version.proceed || version.exitCode != 0);
    EXPECT_NE(version.output.find(kProgramVersion), std::string::npos) << version.output;
    // Every example is one that works, every line fits a terminal of 80 columns, and none ends in a blank.
    int examples = 0;
    for (std::size_t at = help.output.find("  nudgewick "); at != std::string::npos;
         at = help.output.find("  nudgewick ", at + 1), ++examples) {
        const std::size_t from = at + 12;
        const std::string example = help.output.substr(from, help.output.find('\n', from) - from);
        EXPECT_TRUE(CheckCommandLine(example).proceed) << example;
    }
    EXPECT_GT(examples, 0);
    // Each option of the table has a line that says what it does, the options before the commands.
    std::size_t lastOption = 0, firstCommand = help.output.size();
    for (const OptionName& entry : kOptionNames) {
        std::size_t at = help.output.find("\n  " + std::string(entry.name));
        if (at == std::string::npos) at = help.output.find(", " + std::string(entry.name));
        ASSERT_NE(at, std::string::npos) << entry.name;
        const std::string line = help.output.substr(at + 1, help.output.find('\n', at + 1) - at - 1);
        EXPECT_GT(line.find_last_not_of(' '), line.find(entry.name) + entry.name.size() + entry.value.size()) << line;
        if (entry.option == Option::Command) firstCommand = std::min(firstCommand, at);
        if (entry.option != Option::Command) lastOption = std::max(lastOption, at);
    }
    EXPECT_LT(lastOption, firstCommand);
    for (std::size_t at = 0, end; (end = help.output.find('\n', at)) != std::string::npos; at = end + 1)
        EXPECT_LE(end - at, 80u) << help.output.substr(at, end - at);
    EXPECT_EQ(help.windowText.find(" \n"), std::string::npos);
}

// The terminal's columns: terms indented, descriptions side by side in one column, their later lines under the first, a
// term too long for its column two blanks before its description.
TEST(CommandLineTest, HelpColumnsLineUpTheDescriptions) {
    const std::string words = std::string(58, 'a') + " b " + std::string(60, 'c') + " " + std::string(61, 'd');
    EXPECT_EQ(HelpColumns({{"-a", words}, {"--fourteen-chr", "x"}, {"--fifteen-chars", "y"}}),
              "  -a              " + std::string(58, 'a') + " b\n" +  // 78 columns, the widest
                  "                  " + std::string(60, 'c') + "\n" + "                  " + std::string(61, 'd') +
                  "\n" +  // a word too long for any line has one
                  "  --fourteen-chr  x\n"
                  "  --fifteen-chars  y\n");
    // Columns, not bytes: Cyrillic letters take one each, Chinese and Japanese characters two, and those lines may
    // break between any two of them but never before closing punctuation.
    const auto repeated = [](std::string_view piece, int times, std::string_view between = "") {
        std::string text;
        for (int k = 0; k < times; ++k) text.append(k ? between : "").append(piece);
        return text;
    };
    const std::string indent(18, ' '), wide = "\u5B57", stop = "\u3002";
    // A description, and its lines.
    const std::pair<std::string, std::string> rows[] = {
        {repeated("\u0436\u0436", 30, " "),
         repeated("\u0436\u0436", 20, " ") + "\n" + indent + repeated("\u0436\u0436", 10, " ")},
        {repeated(wide, 40), repeated(wide, 30) + "\n" + indent + repeated(wide, 10)},
        {repeated("\uAC00\uD7A3", 16),
         repeated("\uAC00\uD7A3", 15) + "\n" + indent + "\uAC00\uD7A3"},  // Hangul's first and last
        {repeated(wide, 30) + stop + repeated(wide, 2),
         repeated(wide, 29) + "\n" + indent + wide + stop + repeated(wide, 2)},
        {std::string(61, 'e'), std::string(61, 'e')},  // a first word too long for the line stays beside its term
    };
    for (const auto& [description, expected] : rows)
        EXPECT_EQ(HelpColumns({{"-a", description}}), "  -a              " + expected + "\n") << description;
    // A message box's proportional font lines up no columns: a dash after each term, no line indented.
    EXPECT_EQ(HelpLines({{"-a", "first second"}}), "-a \u2013 first second\n");
    EXPECT_EQ(CheckCommandLine("--help").windowText.find("\n "), std::string::npos);
}

}  // namespace
}  // namespace nudgewick
