#include "startup/command_line.h"

#include <algorithm>

#include "window/layout.h"
#include "window/number_text.h"
#include "window/settings.h"

namespace nudgewick {
namespace {

constexpr std::string_view kSeparators = " \t";
constexpr const char* kUsage = "nudgewick [OPTION...] [INTERVAL [PIXELS]]\n";

constexpr std::chrono::seconds kShortestSession{1};
constexpr std::chrono::seconds kLongestSession = std::chrono::days(7);

std::string Durations() {
    return "from " + WholeNumberText(kShortestSession.count()) + "s to " +
           WholeNumberText(std::chrono::duration_cast<std::chrono::days>(kLongestSession).count()) +
           "d, such as 45s, 90m, 2h or 1h30m";
}

std::string Help() {
    return std::string("Usage: ") + kUsage +
           "Nudges the mouse pointer sideways, right then left, while it is left alone.\n" + SettingsHelp() +
           "Options, before INTERVAL:\n"
           "  --for DURATION  stop nudging after DURATION, " +
           Durations() +
           "\n"
           "  --until HH:MM   stop nudging at the next HH:MM on the 24-hour local clock\n"
           "  --minimized     start with the window hidden in the notification area, or minimized\n"
           "  --check         say how the pointer would be nudged here, and exit 0 if it can be\n"
           "  -h, --help      print this help and exit\n"
           "  --version       print the version and exit\n";
}

StartupCheck Print(const std::string& text) { return {false, 0, text, text, {}}; }

StartupCheck Refuse(const std::string& problem) {
    return {false,
            2,
            "nudgewick: " + problem + "\nusage: " + kUsage,
            "Nudgewick cannot start: " + problem + ".\n\nUsage: " + kUsage,
            {}};
}

// A word of the text and where the text after it and one separator begins.
struct Word {
    std::string_view text;
    std::size_t next;
};

std::optional<Word> NextWord(std::string_view text, std::size_t from) {
    const auto start = text.find_first_not_of(kSeparators, from);
    if (start == std::string_view::npos) return std::nullopt;
    const auto end = std::min(text.find_first_of(kSeparators, start), text.size());
    return Word{text.substr(start, end - start), std::min(end + 1, text.size())};
}

// A negative number is a setting, not an option.
bool IsOption(std::string_view word) { return word.front() == '-' && !ReadDecimal(word); }

bool TakesValue(std::string_view option) { return option == "--for" || option == "--until"; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) { return std::all_of(text.begin(), text.end(), IsDigit); }

// Numbers each followed by a unit, d, h, m or s, the larger units first, each
// at most once: "45s", "90m", "1h30m".
std::optional<std::chrono::seconds> ReadDuration(std::string_view text) {
    constexpr std::pair<char, std::int64_t> kUnits[] = {{'d', 86400}, {'h', 3600}, {'m', 60}, {'s', 1}};
    std::int64_t total = 0;
    std::size_t unit = 0, i = 0;
    while (i < text.size()) {
        std::int64_t number = 0;
        const std::size_t start = i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            number = std::min<std::int64_t>(number * 10 + (text[i] - '0'), kLongestSession.count() + 1);
        }
        while (unit < std::size(kUnits) && i < text.size() && kUnits[unit].first != text[i]) ++unit;
        if (i == start || unit == std::size(kUnits) || i == text.size()) return std::nullopt;
        total += number * kUnits[unit++].second;
        ++i;
    }
    if (total < kShortestSession.count() || total > kLongestSession.count()) return std::nullopt;
    return std::chrono::seconds(total);
}

// "H:MM" or "HH:MM" on the 24-hour clock.
std::optional<ClockTime> ReadClockTime(std::string_view text) {
    const auto colon = text.find(':');
    if (colon < 1 || colon > 2 || text.size() != colon + 3) return std::nullopt;
    const std::string hour(text.substr(0, colon)), minute(text.substr(colon + 1));
    if (!AllDigits(hour) || !AllDigits(minute)) return std::nullopt;
    const ClockTime time{std::stoi(hour), std::stoi(minute)};
    if (time.hour > 23 || time.minute > 59) return std::nullopt;
    return time;
}

// The option at the start of the command line, with its value where it takes one.
std::optional<StartupCheck> ReadOption(std::string_view option, std::optional<Word> value, CommandLine& line) {
    if (option == "--help" || option == "-h") return Print(Help());
    if (option == "--version") return Print(std::string("Nudgewick ") + kProgramVersion + "\n");
    if (option == "--minimized" || option == "--check") {
        (option == "--check" ? line.check : line.minimized) = true;
        return std::nullopt;
    }
    if (!TakesValue(option)) return Refuse("\"" + std::string(option) + "\" is not an option");
    if (line.runFor || line.runUntil) return Refuse("--for and --until cannot both be given");
    if (!value) return Refuse(std::string(option) + " needs a value");
    const std::string given = std::string(option) + " \"" + std::string(value->text) + "\"";
    if (option == "--for") {
        line.runFor = ReadDuration(value->text);
        if (!line.runFor) return Refuse(given + " is not a duration " + Durations());
    } else {
        line.runUntil = ReadClockTime(value->text);
        if (!line.runUntil) return Refuse(given + " is not a time of day from 00:00 to 23:59");
    }
    return std::nullopt;
}

// Words 1 and 2 of the positional part; an absent word leaves its setting at 0.
StartupCheck CheckSettings(StartupCheck check) {
    CommandLine& line = check.commandLine;
    line.words = SplitCommandLine(line.text);
    if (line.words.size() > 1) {
        const auto interval = IntervalFromWord(line.words[1]);
        if (!interval) return Refuse(IntervalWordProblem(line.words[1]));
        line.interval = *interval;
    }
    if (line.words.size() > 2) {
        const auto pixels = PixelsFromText(line.words[2]);
        if (!pixels) return Refuse(PixelsWordProblem(line.words[2]));
        line.pixels = *pixels;
    }
    return check;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text) {
    std::vector<std::string> words(1);
    bool inWord = false;
    for (const char c : text) {
        if (kSeparators.find(c) != std::string_view::npos) {
            inWord = false;
            continue;
        }
        if (!inWord) words.emplace_back();
        inWord = true;
        words.back() += c;
    }
    return words;
}

StartupCheck CheckCommandLine(std::string_view text) {
    StartupCheck check;
    std::size_t positional = 0;
    for (auto word = NextWord(text, 0); word && IsOption(word->text); word = NextWord(text, positional)) {
        positional = word->next;
        const auto value = NextWord(text, positional);
        if (value && TakesValue(word->text)) positional = value->next;
        if (auto stop = ReadOption(word->text, value, check.commandLine)) return *stop;
    }
    check.commandLine.text = text.substr(positional);
    return CheckSettings(std::move(check));
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string text;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) text += ' ';
        text += arguments[i];
    }
    return text;
}

}  // namespace nudgewick
