#include "startup/command_line.h"

#include <algorithm>

#include "window/layout.h"
#include "window/number_text.h"
#include "window/settings.h"

namespace nudgewick {
namespace {

constexpr std::string_view kSeparators = " \t";
constexpr const char* kUsage = "nudgewick [OPTION...] [INTERVAL [PIXELS]]\n";

std::string Help() {
    return std::string("usage: ") + kUsage +
           "Nudges the mouse pointer sideways, right then left, while it is left alone.\n" + SettingsHelp() +
           "Options, before INTERVAL:\n"
           "  -h, --help      print this help and exit\n"
           "  --version       print the version and exit\n";
}

StartupCheck Print(const std::string& text) { return {false, 0, text, {}, {}}; }

StartupCheck Refuse(const std::string& problem) {
    return {false, 2, "nudgewick: " + problem + "\nusage: " + kUsage,
            "Nudgewick cannot start: " + problem + ".\n\nUsage: " + kUsage, {}};
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
        if (word->text == "--help" || word->text == "-h") return Print(Help());
        if (word->text == "--version") return Print(std::string("Nudgewick ") + kProgramVersion + "\n");
        return Refuse("\"" + std::string(word->text) + "\" is not an option");
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
