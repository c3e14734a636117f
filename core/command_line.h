#pragma once
// The command line, read once before any window exists: options first, then
// the interval and the distance.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"

#include "core/clock.h"
#include "core/controls.h"
#include "core/hotkey.h"
#include "core/options.h"
#include "core/schedule.h"

namespace nudgewick {

// What the controller starts with. With no interval and no distance on the
// command line the defaults apply; a command line that has some text there
// but no word for a setting leaves that setting at 0.
struct StartSettings {
    std::int16_t interval = 0;
    std::int16_t pixels = 0;
    bool settingsGiven = false;                  // a word for INTERVAL: a running copy takes the settings only then
    Command command = Command::Start;            // --toggle, --stop, --go, --quit, --status
    bool minimized = false;                      // --minimized: start hidden behind the icon, or iconified
    bool check = false;                          // --check (Linux): report how it would nudge, start nothing
    std::optional<std::chrono::seconds> runFor;  // --for DURATION
    std::optional<ClockTime> runUntil;           // --until HH:MM
    std::optional<WorkHours> workHours;          // --hours, --days
    std::optional<Hotkey> hotkey;                // --hotkey COMBO
    std::optional<std::int32_t> pid;             // --pid PID: nudge until that process ends
    std::optional<std::string> whileRunning;     // --while NAME: nudge only while such a process runs
    std::optional<int> battery;                  // --battery PCT: on battery, nudge only above PCT percent
    // -- COMMAND: where COMMAND starts in the text. The program runs it, its
    // own copy beside any other, starts minimized and ends with it.
    std::optional<std::size_t> commandAt;

    bool operator==(const StartSettings&) const = default;
};

// What to do with a command line before any window exists.
struct StartupCheck {
    bool proceed = true;     // false: print output and exit with exitCode
    int exitCode = 0;        // 0: output goes to standard output, else to standard error
    std::string output;      // for a console
    std::string windowText;  // a refusal told to someone who started the program from a shortcut
    StartSettings settings;  // what the window starts with, when proceeding
};

// text: the command line after the program's name.
StartupCheck CheckCommandLine(std::string_view text);

// --pid names a process that cannot be watched (why: the system's words).
StartupCheck RefusePid(std::int32_t pid, const std::string& why);
// The command after "--" did not start: status 127 when there was no such
// program, else 126, as shells give them.
StartupCheck RefuseCommand(const CommandStart& start);

// What a second start prints where there is a terminal, after bringing the
// first one's window to the front.
inline constexpr const char* kAlreadyRunning = Marked("Nudgewick is already running\n");

// Joins arguments that arrive already split with single blanks.
std::string JoinArguments(const std::vector<std::string>& arguments);
// The arguments that the joined text holds from offset at on, untouched; one
// that at falls inside is cut there.
std::vector<std::string> ArgumentsFrom(const std::vector<std::string>& arguments, std::size_t at);

}  // namespace nudgewick
