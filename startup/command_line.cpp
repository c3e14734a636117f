#include "startup/command_line.h"

#include <algorithm>

#include "window/layout.h"
#include "window/settings.h"

namespace nudgewick {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

StartupCheck Refuse(const std::string& problem) {
    return {false, 2, "nudgewick: " + problem + "\n" + UsageLine(), {}};
}

StartupCheck Print(const std::string& text) { return {false, 0, text, {}}; }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text) {
    std::vector<std::string> words(1);
    bool inWord = false;
    for (const char c : text) {
        if (IsSeparator(c)) {
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
    CommandLine& line = check.commandLine;
    line.text = text;
    line.words = SplitCommandLine(text);
    const auto& words = line.words;
    const auto has = [&](std::string_view flag) { return std::find(words.begin(), words.end(), flag) != words.end(); };
    if (has("--help") || has("-h")) return Print(UsageLine() + HelpText());
    if (has("--version")) return Print(std::string("Nudgewick ") + kProgramVersion + "\n");
    if (words.size() > 1) {
        const auto interval = IntervalFromWord(words[1]);
        if (!interval) return Refuse(IntervalWordProblem(words[1]));
        line.interval = *interval;
    }
    if (words.size() > 2) {
        const auto pixels = PixelsFromText(words[2]);
        if (!pixels) return Refuse(PixelsWordProblem(words[2]));
        line.pixels = *pixels;
    }
    return check;
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
