#include "startup/command_line.h"

#include <algorithm>
#include <limits>

#include "window/frm_main.h"
#include "window/layout.h"
#include "window/number_text.h"

namespace nudgewick {
namespace {

constexpr const char* kUsage = "Usage: nudgewick [INTERVAL [PIXELS]]\n";
constexpr const char* kHelp =
    "Nudges the mouse pointer sideways, right then left, while it is left alone.\n"
    "  INTERVAL  milliseconds between looks at the pointer, up to 32767;\n"
    "            below 3000 counts as 3000 (default 10000)\n"
    "  PIXELS    how far each nudge moves the pointer, -32768 to 32767 (default 3)\n";

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

StartupCheck Refuse(const std::string& problem) { return {false, 2, "nudgewick: " + problem + "\n" + kUsage}; }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text, int maxArgs) {
    maxArgs = std::max(maxArgs, 0);
    std::vector<std::string> slots(static_cast<std::size_t>(maxArgs) + 1);
    std::size_t count = 0;
    bool inWord = false;
    for (const char c : text) {
        if (IsSeparator(c)) {
            inWord = false;
            continue;
        }
        if (!inWord) {
            if (count == slots.size() - 1) break;
            ++count;
            inWord = true;
        }
        slots[count] += c;
    }
    slots.resize(count + 1);
    return slots;
}

std::optional<std::int16_t> IntervalFromWord(std::string_view word) {
    const auto number = ReadDecimal(word);
    if (!number) return std::nullopt;
    const std::int64_t value = RoundHalfEven(*number);
    if (value > std::numeric_limits<std::int16_t>::max()) return std::nullopt;
    return static_cast<std::int16_t>(std::max<std::int64_t>(value, kIntervalFloor));
}

StartupCheck CheckCommandLine(std::string_view text) {
    const auto words = SplitCommandLine(text);
    const auto has = [&](std::string_view flag) {
        return std::find(words.begin() + 1, words.end(), flag) != words.end();
    };
    if (has("--help") || has("-h")) return {false, 0, std::string(kUsage) + kHelp};
    if (has("--version")) return {false, 0, std::string("Nudgewick ") + kProgramVersion + "\n"};
    if (words.size() > 1 && !IntervalFromWord(words[1])) {
        return Refuse("interval \"" + words[1] + "\" is not a number of milliseconds up to 32767");
    }
    if (words.size() > 2 && !ToWholeNumber(words[2])) {
        return Refuse("pixels \"" + words[2] + "\" is not a whole number from -32768 to 32767");
    }
    return {};
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
