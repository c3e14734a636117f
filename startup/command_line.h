#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "window/session.h"

namespace nudgewick {

// Splits text into words at runs of blanks and tabs; quotes are ordinary
// characters. Slot 0 is empty, slots 1..N hold the text's words in order.
std::vector<std::string> SplitCommandLine(std::string_view text);

// The command line as start-up uses it, read once before any window exists.
// Options come first; the first word that is not one starts the positional
// part, which is handled as if the options were not there.
struct CommandLine {
    std::string text;                            // the positional part, from just after the last option's separator
    std::vector<std::string> words;              // the text split by SplitCommandLine
    std::int16_t interval = 0;                   // what word 1 asks for, when there is a word 1
    std::int16_t pixels = 0;                     // what word 2 asks for, when there is a word 2
    bool minimized = false;                      // --minimized: start with the window hidden, or iconified
    bool check = false;                          // --check: report the way to nudge instead of starting (Linux)
    std::optional<std::chrono::seconds> runFor;  // --for DURATION
    std::optional<ClockTime> runUntil;           // --until HH:MM
};

// What to do with a command line before any window exists.
struct StartupCheck {
    bool proceed = true;      // false: print output and exit with exitCode
    int exitCode = 0;         // 0: output goes to standard output, else to standard error
    std::string output;       // for a console
    std::string windowText;   // a refusal told to someone who started the program from a shortcut
    CommandLine commandLine;  // what Form_Load starts from, when proceeding
};

// text: the command line after the program's name.
StartupCheck CheckCommandLine(std::string_view text);

// What a second start prints where there is a terminal, after bringing the
// first one's window to the front.
inline constexpr const char* kAlreadyRunning = "Nudgewick is already running\n";

// Joins arguments that arrive already split with single blanks.
std::string JoinArguments(const std::vector<std::string>& arguments);

}  // namespace nudgewick
