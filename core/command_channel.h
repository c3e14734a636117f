#pragma once
// What passes between a second start and the running copy: the second
// start's command line, which the running copy takes through the same checks
// as its own, and the answer that comes back. Another program could have
// written either, so each is read within its limits, and nothing in it is
// ever run.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/command_line.h"

namespace nudgewick {

// In bytes of UTF-8.
inline constexpr std::size_t kLongestCommandLine = 4096;
inline constexpr std::size_t kLongestAnswer = 1024;
// How long a second start waits for the running copy to answer.
inline constexpr int kAnswerWaitMilliseconds = 5000;
// --status while the running copy is stopped, or when none runs.
inline constexpr int kStoppedStatus = 3;

// A command line handed over, as the running copy takes it: nothing when it
// is too long, not UTF-8 text (tabs are its only control characters), or not
// something its own start would run with (a refused word, --help, --check;
// a start with "--" runs its own copy and hands nothing over).
std::optional<StartSettings> ReadHandedOver(std::string_view bytes);

// UTF-16 in little-endian bytes, as Windows hands text over, in UTF-8: nothing
// for an odd length, an unpaired surrogate, or more than longest bytes.
std::optional<std::string> Utf8FromUtf16(std::string_view bytes, std::size_t longest);

// A start that asks nothing of the running copy but that it be shown.
bool AsksNothing(StartSettings settings);

// What a second start prints, and its exit status.
struct CommandAnswer {
    int exitCode = 0;
    std::string text;  // whole lines

    bool operator==(const CommandAnswer&) const = default;
};

// An answer that says the command line came to nothing: the running copy did
// not answer (1), or refused it (2); it goes to standard error.
inline bool Failed(const CommandAnswer& answer) { return answer.exitCode == 1 || answer.exitCode == 2; }

// The running copy's answer once it has acted: --status says what it does in
// the tooltip's words; every other command or setting, the whole tooltip.
CommandAnswer AnswerFor(const StartSettings& asked, bool running, const std::string& tooltip);

// With no copy running: the answer to --stop, --quit and --status; nothing
// when this start is to become the running copy.
std::optional<CommandAnswer> AnswerWithoutCopy(Command command);

// Where a second start prints the answer: a plain start's, which only says
// that a copy runs, and a failure on standard error; any other on standard
// output, for the script that asked.
bool OnStandardError(const CommandAnswer& answer, const StartSettings& asked);

// An answer as it travels: the exit status, a blank, the text.
std::string WriteAnswer(const CommandAnswer& answer);
// What a second start makes of what came back, in its own language (Spoken):
// nothing in time, a refusal (empty), or an answer that is not one all end
// with status 1.
CommandAnswer ReadAnswer(const std::optional<std::string>& bytes);

}  // namespace nudgewick
