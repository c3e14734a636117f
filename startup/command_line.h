#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nudgewick {

// Splits text into words at runs of blanks and tabs; quotes are ordinary
// characters. Slot 0 is empty, slots 1..N hold the first N <= maxArgs words.
std::vector<std::string> SplitCommandLine(std::string_view text, int maxArgs = 10);

// The interval a command-line word asks for: rounded, and raised to the
// floor when below it. Nothing when the word is not a number or is above 32767.
std::optional<std::int16_t> IntervalFromWord(std::string_view word);

// What to do with a command line before any window exists.
struct StartupCheck {
    bool proceed = true;  // false: print output and exit with exitCode
    int exitCode = 0;     // 0: output goes to standard output, else to standard error
    std::string output;
};

StartupCheck CheckCommandLine(std::string_view text);

// Joins arguments that arrive already split with single blanks.
std::string JoinArguments(const std::vector<std::string>& arguments);

}  // namespace nudgewick
