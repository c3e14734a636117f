#pragma once
// What the fuzz targets share: a rule that must hold for every input, and what must hold for every start the command
// line's reader accepts: its settings in their ranges, and given back by the words that state them.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/command_line.h"
#include "core/number_text.h"
#include "core/options.h"
#include "core/settings.h"

// A broken rule ends the run; libFuzzer keeps the input that broke it.
#define FUZZ_EXPECT(...)    \
    ((__VA_ARGS__) ? void() \
                   : (std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #__VA_ARGS__), std::abort()))

namespace nudgewick::fuzz {

// A time of day no later than LATEST minutes after midnight.
inline bool IsClockTime(ClockTime time, int latest = 24 * 60 - 1) {
    return time.hour >= 0 && time.minute >= 0 && time.minute < 60 && time.hour * 60 + time.minute <= latest;
}

// A start's settings, as the program can follow them. A command comes alone.
inline void ExpectInRange(const StartSettings& s) {
    FUZZ_EXPECT(s.interval == 0 || s.interval >= kIntervalFloor);
    FUZZ_EXPECT(s.settingsGiven || (s.interval == kDefaultInterval && s.pixels == kDefaultPixels) ||
                (s.interval == 0 && s.pixels == 0));
    FUZZ_EXPECT(!s.runFor || (s.runFor->count() >= 1 && s.runFor->count() <= 7 * 86400));
    FUZZ_EXPECT(!(s.runFor && s.runUntil) && (!s.runUntil || IsClockTime(*s.runUntil)));
    if (const auto& work = s.workHours) {
        FUZZ_EXPECT(work->days != 0 && work->days <= kEveryDay);
        FUZZ_EXPECT(!work->hours || (IsClockTime(work->hours->first) && IsClockTime(work->hours->second, 24 * 60) &&
                                     work->hours->first != work->hours->second));
    }
    if (const auto& key = s.hotkey) {
        const int keys = key->kind == Hotkey::Kind::Letter ? 26 : key->kind == Hotkey::Kind::Digit ? 10 : 25;
        FUZZ_EXPECT(key->modifiers >= 1 && key->modifiers <= 15 && key->number >= (keys == 25) && key->number < keys);
    }
    FUZZ_EXPECT(!s.pid || *s.pid >= 1);
    FUZZ_EXPECT(!s.battery || (*s.battery >= 0 && *s.battery <= 100));
    FUZZ_EXPECT(!s.whileRunning || (!s.whileRunning->empty() && !s.whileRunning->starts_with('-') &&
                                    s.whileRunning->find_first_of(" \t/\\") == std::string::npos &&
                                    *s.whileRunning != "." && *s.whileRunning != ".." && IsUtf8(*s.whileRunning)));
    FUZZ_EXPECT(!s.commandAt || s.minimized);  // the command's copy runs behind its icon
    FUZZ_EXPECT(s.command == Command::Start ||
                s == StartSettings{.interval = s.interval, .pixels = s.pixels, .command = s.command});
}

inline std::string TimeText(ClockTime time) {
    return std::to_string(time.hour) + (time.minute < 10 ? ":0" : ":") + std::to_string(time.minute);
}

// The option's name and a blank, or its name, "=" and the value given.
inline std::string Given(Option option, std::string_view value = {}, Command command = Command::Start) {
    return std::string(NameOf(option, command)) + (value.empty() ? " " : "=" + std::string(value) + " ");
}

// The command line that states the settings, each option in its plainest form.
inline std::string CommandLineOf(const StartSettings& s) {
    std::string line = s.command == Command::Start ? "" : Given(Option::Command, {}, s.command);
    line += (s.minimized ? Given(Option::Minimized) : "") + (s.check ? Given(Option::Check) : "");
    if (s.runFor) line += Given(Option::For, std::to_string(s.runFor->count()) + "s");
    if (s.runUntil) line += Given(Option::Until, TimeText(*s.runUntil));
    if (const auto& work = s.workHours) {
        if (work->hours)
            line += Given(Option::Hours, TimeText(work->hours->first) + "-" + TimeText(work->hours->second));
        line += Given(Option::Days);
        for (std::size_t day = 0; day < 7; ++day)
            if ((work->days >> day & 1) != 0) line += std::string("montuewedthufrisatsun", 3 * day, 3) + ",";
        line.back() = ' ';
    }
    if (s.hotkey) line += Given(Option::Hotkey, HotkeyText(*s.hotkey));
    if (s.pid) line += Given(Option::Pid, std::to_string(*s.pid));
    if (s.whileRunning) line += Given(Option::While, *s.whileRunning);
    if (s.battery) line += Given(Option::Battery, std::to_string(*s.battery));
    if (s.settingsGiven) return line + std::to_string(s.interval) + " " + std::to_string(s.pixels);
    return s.interval == 0 ? line + " " : line;  // blanks alone leave both settings at 0
}

// Settings a start accepted are in range, and their own command line gives them again.
// A command to run comes last, after "--"; where it starts is where it was put.
inline void ExpectAccepted(const StartSettings& settings) {
    ExpectInRange(settings);
    StartSettings expected = settings;
    std::string line = CommandLineOf(settings);
    if (settings.commandAt) {
        // A blank more would read as settings of 0.
        line += (line.empty() || line.back() == ' ' ? "" : " ") + std::string(kCommandMark) + " ";
        expected.commandAt = line.size();
        line += "run";
    }
    const StartupCheck again = CheckCommandLine(line);
    FUZZ_EXPECT(again.proceed && again.settings == expected);
}

}  // namespace nudgewick::fuzz
