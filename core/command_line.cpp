#include "core/command_line.h"

#include <algorithm>

#include "core/catalogue.h"
#include "core/hotkey.h"
#include "core/number_text.h"
#include "core/options.h"
#include "core/settings.h"
#include "core/version.h"

namespace nudgewick {
namespace {

constexpr std::string_view kSeparators = " \t";
constexpr const char* kUsage = "nudgewick [OPTION...] [INTERVAL [PIXELS]] [-- COMMAND [ARG...]]\n";

// A Linux PID is below 2^22, a Windows one fits 32 bits; either is positive.
constexpr std::int64_t kHighestPid = 0x7fffffff;
// A file name's limit on both systems.
constexpr std::size_t kLongestProcessName = 255;
constexpr std::int64_t kFullCharge = 100;

constexpr std::chrono::seconds kShortestSession{1};
constexpr std::chrono::seconds kLongestSession = std::chrono::days(7);

std::string Durations() {
    return Format(Tr("from %1s to %2d, such as 45s, 90m, 2h or 1h30m"),
                  {WholeNumberText(kShortestSession.count()),
                   WholeNumberText(std::chrono::duration_cast<std::chrono::days>(kLongestSession).count())});
}

// What --help says of a command for the running copy.
std::string CommandDescription(Command command) {
    if (command == Command::Toggle) return Tr("stop or resume the nudging, as the button does");
    if (command == Command::Stop || command == Command::Go) return Tr("stop, or resume, the nudging");
    if (command == Command::Quit) return Tr("end the running copy");
    if (command == Command::Query) return Tr("print what it does; exit 0 while it nudges, else 3");
    return {};  // a start is no option
}

// What --help says of an option.
std::string Description(const OptionName& entry) {
    switch (entry.option) {
    case Option::For: return Format(Tr("stop nudging after DURATION, %1"), {Durations()});
    case Option::Until: return Tr("stop nudging at the next HH:MM on the 24-hour local clock");
    case Option::Hours:
        return Tr(
            "nudge only within RANGE on the 24-hour local clock, such as 09:00-17:30 or 22:00-06:00, stopping "
            "and resuming by itself; an end before the start is on the next day, 24:00 ends the day");
    case Option::Days:
        return Tr(
            "nudge only on these days, such as mon-fri, sat,sun or mon,wed-fri; all day unless --hours is "
            "given. A click overrides the hours until their next start or end; a later --hours or --days "
            "replaces an earlier");
    case Option::Hotkey:
        return Tr(
            "stop and resume from anywhere with a key combination such as ctrl+alt+n: ctrl, alt, shift or "
            "super, then a letter, digit or F1-F24");
    case Option::Pid: return Tr("nudge until the process PID ends, then stop as at a session's end");
    case Option::While:
        return Tr(
            "nudge only while a process named NAME runs, such as zoom: the name it gives itself or its "
            "program's file name (on Windows zoom.exe or zoom, in any case)");
    case Option::Battery:
        return Tr(
            "on battery power, nudge only while the charge is above PCT percent (0-100; 100: only on mains); "
            "a session nudges regardless");
    case Option::Minimized: return Tr("start with the window hidden in the notification area, or minimized");
    case Option::Check: return Tr("say how the pointer would be nudged here, exit 0 if it can be");
    case Option::Help: return Tr("print this help and exit");
    case Option::Version: return Tr("print the version and exit");
    case Option::Command: return CommandDescription(entry.command);
    }
    return {};
}

// The table's options, or its commands, for --help: neighbours described
// alike share an entry.
std::vector<HelpEntry> OptionsHelp(bool commands) {
    std::vector<HelpEntry> entries;
    for (const OptionName& entry : kOptionNames) {
        if ((entry.option == Option::Command) != commands) continue;
        const std::string term = std::string(entry.name) + (entry.value.empty() ? "" : " ") + std::string(entry.value);
        std::string description = Description(entry);
        if (!entries.empty() && entries.back().description == description) {
            entries.back().term += ", " + term;
        } else {
            entries.push_back({term, std::move(description)});
        }
    }
    return entries;
}

// What each example is for, and its words after the program's name.
constexpr std::pair<const char*, std::string_view> kExamples[] = {
    {Marked("Started at sign-in to follow work hours, with a hotkey:\n"),
     "--minimized --hours 09:00-17:30 --days mon-fri --hotkey ctrl+alt+n"},
    {Marked("While a build runs:\n"), "-- make -j4"},
    {Marked("Until a download (process 4321) ends:\n"), "--pid 4321"},
    {Marked("While a meeting application is open:\n"), "--minimized --while zoom"},
    {Marked("On mains, or on battery above 40%:\n"), "--battery 40"},
};

// A terminal's help lines its descriptions up in columns and indents its
// examples; a message box's wraps by itself.
std::string Help(bool terminal) {
    const auto layout = terminal ? HelpColumns : HelpLines;
    const std::string example = terminal ? "  nudgewick " : "nudgewick ";
    std::string help = Format(Tr("Usage: %1"), {kUsage}) +
                       Tr("Nudges the mouse pointer sideways, right then left, while it is left alone.\n") +
                       layout(SettingsHelp()) + Tr("Options, before INTERVAL:\n") + layout(OptionsHelp(false)) +
                       Tr("A second start hands its options and settings to the running copy, or\n"
                          "gives it one of these commands, each alone on the command line:\n") +
                       layout(OptionsHelp(true)) +
                       Tr("With no copy running, --toggle and --go start one, --stop and --quit do\n"
                          "nothing, and --status says \"not running\" and exits 3. Exit status 1:\n"
                          "the running copy did not answer.\n\n") +
                       Tr("With -- COMMAND [ARG...] after the options and settings, it runs COMMAND\n"
                          "(found on PATH) and nudges while it runs, minimized, as a copy of its own\n"
                          "beside any running one, then exits with COMMAND's exit status (127: no\n"
                          "such command, 126: it cannot run; on Linux, 128 + the signal's number\n"
                          "after a signal). Closed before, it leaves COMMAND running and exits 0.\n\n");
    for (const auto& [what, words] : kExamples) help.append(Tr(what)).append(example).append(words) += '\n';
    return help;
}

StartupCheck Print(const std::string& text) { return {false, 0, text, text, {}}; }

StartupCheck Refuse(const std::string& problem) {
    return {false,
            2,
            Format(Tr("nudgewick: %1\nusage: %2"), {problem, kUsage}),
            Format(Tr("Nudgewick cannot start: %1.\n\nUsage: %2"), {problem, kUsage}),
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

// Words are split at runs of blanks and tabs; quotes are ordinary characters.
std::vector<std::string> SplitWords(std::string_view text) {
    std::vector<std::string> words;
    for (auto word = NextWord(text, 0); word; word = NextWord(text, word->next)) words.emplace_back(word->text);
    return words;
}

// A negative number is a setting, not an option.
bool IsOption(std::string_view word) { return word.front() == '-' && !ReadDecimal(word); }

bool TakesValue(const OptionName* entry) { return entry && !entry->value.empty(); }

// Numbers each followed by a unit, d, h, m or s, the larger units first, each
// at most once: "45s", "90m", "1h30m".
std::optional<std::chrono::seconds> ReadDuration(std::string_view text) {
    constexpr std::pair<char, std::int64_t> kUnits[] = {{'d', 86400}, {'h', 3600}, {'m', 60}, {'s', 1}};
    const auto* unit = std::begin(kUnits);
    std::int64_t total = 0;
    while (!text.empty()) {
        const std::string_view digits = LeadingDigits(text);
        text.remove_prefix(digits.size());
        unit = std::find_if(unit, std::end(kUnits), [text](const auto& u) { return text.starts_with(u.first); });
        if (digits.empty() || unit == std::end(kUnits)) return std::nullopt;
        // A number beyond the longest session is kept just beyond it, so that the sum cannot overflow.
        const auto number = static_cast<std::int64_t>(ReadDecimal(digits)->whole);
        total += std::min<std::int64_t>(number, kLongestSession.count() + 1) * (unit++)->second;
        text.remove_prefix(1);
    }
    if (total < kShortestSession.count() || total > kLongestSession.count()) return std::nullopt;
    return std::chrono::seconds(total);
}

struct OptionWord {
    std::string_view option;
    const OptionName* entry;  // nothing for a word that names no option
    std::optional<std::string_view> value;
    bool attached = false;  // given as "--for=90m"
};

// The option a word names and its value: after "=" in the word, or the next
// word for an option that takes one. positional moves past what was taken.
OptionWord TakeOption(std::string_view text, std::string_view word, std::size_t& positional) {
    if (const std::size_t equals = word.find('='); equals != std::string_view::npos) {
        const std::string_view option = word.substr(0, equals);
        return {option, FindOption(option), word.substr(equals + 1), true};
    }
    const OptionName* entry = FindOption(word);
    const auto next = NextWord(text, positional);
    if (!next || !TakesValue(entry)) return {word, entry, std::nullopt};
    positional = next->next;
    return {word, entry, next->text};
}

// --hotkey and its combination.
std::optional<StartupCheck> ReadHotkeyOption(std::string_view value, const std::string& given,
                                             StartSettings& settings) {
    settings.hotkey = ReadHotkey(value);
    if (settings.hotkey) return std::nullopt;
    return Refuse(Format(Tr("%1 is not a key combination such as ctrl+alt+n: one or more of ctrl, alt, "
                            "shift and super, then a letter, a digit or F1 to F24"),
                         {given}));
}

// --hours or --days and its value. One of them alone leaves the other at every
// day or all day.
std::optional<StartupCheck> ReadWorkOption(Option option, std::string_view value, const std::string& given,
                                           StartSettings& settings) {
    WorkHours& work = settings.workHours ? *settings.workHours : settings.workHours.emplace();
    if (option == Option::Hours) {
        work.hours = ReadHours(value);
        if (!ReadTimeRange(value)) {
            return Refuse(Format(Tr("%1 is not a range of times HH:MM-HH:MM such as 09:00-17:30"), {given}));
        }
        if (!work.hours) {
            return Refuse(Format(Tr("%1 starts when it ends: give two different times such as 09:00-17:30"), {given}));
        }
    } else if (const auto days = ReadDays(value)) {
        work.days = *days;
    } else {
        return Refuse(Format(Tr("%1 is not a list of days such as mon-fri, sat,sun or mon,wed-fri"), {given}));
    }
    return std::nullopt;
}

// "." and ".." are folders, never a program's name.
bool IsProcessName(std::string_view name) {
    if (name.empty() || name.size() > kLongestProcessName || name.front() == '-') return false;
    if (name.find_first_not_of('.') == std::string_view::npos && name.size() <= 2) return false;
    return std::none_of(name.begin(), name.end(), [](char c) { return IsControl(c) || c == '/' || c == '\\'; });
}

// --pid and its number, --while and its name, or --battery and its percentage.
std::optional<StartupCheck> ReadFollowOption(Option option, std::string_view value, const std::string& given,
                                             StartSettings& settings) {
    const bool digits = !value.empty() && std::all_of(value.begin(), value.end(), IsDigit);
    const auto number = digits ? ReadDecimal(value) : std::nullopt;
    if (option == Option::Battery) {
        if (!number || number->whole > kFullCharge) {
            return Refuse(
                Format(Tr("%1 is not a charge in whole percent from 0 to %2"), {given, WholeNumberText(kFullCharge)}));
        }
        settings.battery = static_cast<int>(number->whole);
        return std::nullopt;
    }
    if (option == Option::While) {
        if (!IsProcessName(value)) {
            return Refuse(
                Format(Tr("%1 is not a process name such as zoom: a program's file name, without a folder"), {given}));
        }
        settings.whileRunning = std::string(value);
        return std::nullopt;
    }
    if (!number || number->whole < 1 || number->whole > kHighestPid) {
        return Refuse(Format(Tr("%1 is not a process number from 1 to %2"), {given, WholeNumberText(kHighestPid)}));
    }
    settings.pid = static_cast<std::int32_t>(number->whole);
    return std::nullopt;
}

// --for or --until and its value: a later one replaces an earlier, but the two
// end a session in ways that exclude each other.
std::optional<StartupCheck> ReadSessionOption(Option option, std::string_view value, const std::string& given,
                                              StartSettings& settings) {
    if (option == Option::For ? settings.runUntil.has_value() : settings.runFor.has_value()) {
        return Refuse(Format(Tr("%1 and %2 cannot both be given"), {NameOf(Option::For), NameOf(Option::Until)}));
    }
    if (option == Option::For) {
        settings.runFor = ReadDuration(value);
        if (!settings.runFor) return Refuse(Format(Tr("%1 is not a duration %2"), {given, Durations()}));
    } else {
        settings.runUntil = ReadClockTime(value);
        if (!settings.runUntil) return Refuse(Format(Tr("%1 is not a time of day from 00:00 to 23:59"), {given}));
    }
    return std::nullopt;
}

// An option that takes a value, and its value.
std::optional<StartupCheck> ReadValue(const OptionName& entry, std::optional<std::string_view> taken,
                                      StartSettings& settings) {
    if (!taken) return Refuse(Format(Tr("%1 needs a value"), {entry.name}));
    const std::string_view value = *taken;
    const std::string given = std::string(entry.name) + " " + Quoted(value);
    if (!IsUtf8(value)) return Refuse(Format(Tr("%1 is not UTF-8 text"), {given}));
    const Option option = entry.option;
    if (option == Option::For || option == Option::Until) return ReadSessionOption(option, value, given, settings);
    if (option == Option::Hours || option == Option::Days) return ReadWorkOption(option, value, given, settings);
    if (option == Option::Hotkey) return ReadHotkeyOption(value, given, settings);
    return ReadFollowOption(option, value, given, settings);  // --pid, --while or --battery
}

// An option and its value where it takes one.
std::optional<StartupCheck> ReadOption(const OptionWord& taken, StartSettings& settings) {
    if (!taken.entry) return Refuse(Format(Tr("%1 is not an option"), {Quoted(taken.option)}));
    const OptionName& entry = *taken.entry;
    switch (entry.option) {
    case Option::Help: return StartupCheck{false, 0, Help(true), Help(false), {}};
    case Option::Version: return Print(std::string(kProductName) + " " + kProgramVersion + "\n");
    case Option::Minimized: settings.minimized = true; return std::nullopt;
    case Option::Check: settings.check = true; return std::nullopt;
    case Option::Command: settings.command = entry.command; return std::nullopt;
    default: return ReadValue(entry, taken.value, settings);
    }
}

// The interval and the distance from the words after the options: the
// defaults when there is no text at all, else words 1 and 2, an absent word
// leaving its setting at 0. Further words are ignored. afterName: the value of
// a --while just before them, which a word that is no number may have been
// meant to continue.
StartupCheck CheckSettings(StartupCheck check, std::string_view text, std::optional<std::string_view> afterName) {
    StartSettings& settings = check.settings;
    if (text.empty()) {
        settings.interval = kDefaultInterval;
        settings.pixels = kDefaultPixels;
        return check;
    }
    const std::vector<std::string> words = SplitWords(text);
    settings.settingsGiven = !words.empty();
    if (!words.empty()) {
        const auto interval = IntervalFromWord(words[0]);
        if (!interval && afterName && !ReadDecimal(words[0])) {
            return Refuse(Format(Tr("%1 %2 is not a process name: a process name cannot contain blanks"),
                                 {NameOf(Option::While), Quoted(std::string(*afterName) + " " + words[0])}));
        }
        if (!interval) return Refuse(IntervalWordProblem(words[0]));
        settings.interval = *interval;
    }
    if (words.size() > 1) {
        const auto pixels = PixelsFromText(words[1]);
        if (!pixels) return Refuse(PixelsWordProblem(words[1]));
        settings.pixels = *pixels;
    }
    return check;
}

// The first word "--": what follows it is the command to run.
std::optional<Word> FindCommandMark(std::string_view text) {
    auto word = NextWord(text, 0);
    while (word && word->text != kCommandMark) word = NextWord(text, word->next);
    return word;
}

}  // namespace

StartupCheck CheckCommandLine(std::string_view whole) {
    const auto mark = FindCommandMark(whole);
    const std::string_view text =
        mark ? whole.substr(0, static_cast<std::size_t>(mark->text.data() - whole.data())) : whole;
    StartupCheck check;
    if (mark) {
        check.settings.commandAt = mark->next;
        check.settings.minimized = true;
        if (!NextWord(whole, mark->next)) return Refuse(Tr("-- needs a command after it"));
    }
    std::size_t positional = 0;
    std::optional<std::string_view> command;    // the word that named one
    std::optional<std::string_view> whileName;  // the value of --while, when it was the last option
    bool others = mark.has_value();             // any other option, or a command to run
    for (auto word = NextWord(text, 0); word && IsOption(word->text); word = NextWord(text, positional)) {
        positional = word->next;
        const OptionWord taken = TakeOption(text, word->text, positional);
        if (taken.attached && taken.entry && !TakesValue(taken.entry)) {
            return Refuse(Format(Tr("%1 takes no value"), {taken.option}));
        }
        if (auto stop = ReadOption(taken, check.settings)) return *stop;
        whileName = taken.entry->option == Option::While ? taken.value : std::nullopt;
        if (taken.entry->option == Option::Command && !command) {
            command = taken.option;
        } else {
            others = true;
        }
    }
    // A command acts on the copy as it is: it takes nothing else.
    if (command && (others || NextWord(text, positional))) {
        return Refuse(Format(Tr("%1 is given alone, without other options or settings"), {*command}));
    }
    if (mark && check.settings.check) return Refuse(Tr("--check runs no command: it only says how it would nudge"));
    return CheckSettings(std::move(check), text.substr(positional), whileName);
}

StartupCheck RefusePid(std::int32_t pid, const std::string& why) {
    return Refuse(Format(Tr("--pid %1: %2"), {WholeNumberText(pid), why}));
}

StartupCheck RefuseCommand(const CommandStart& start) {
    const std::string name = Quoted(start.name);
    const std::string sentence = start.reason.ends_with('.') ? start.reason : start.reason + ".";
    return {false,
            start.found ? 126 : 127,
            Format(Tr("nudgewick: cannot run %1: %2\n"), {name, start.reason}),
            Format(Tr("Nudgewick cannot run %1: %2\n"), {name, sentence}),
            {}};
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string text;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) text += ' ';
        text += arguments[i];
    }
    return text;
}

std::vector<std::string> ArgumentsFrom(const std::vector<std::string>& arguments, std::size_t at) {
    std::vector<std::string> from;
    std::size_t start = 0;  // of the argument in the joined text
    for (const std::string& argument : arguments) {
        if (start >= at) {
            from.push_back(argument);
        } else if (at < start + argument.size()) {
            from.push_back(argument.substr(at - start));
        }
        start += argument.size() + 1;
    }
    return from;
}

}  // namespace nudgewick
