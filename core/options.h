#pragma once
// Every option of the command line, named once: the reader takes its words
// from this table, --help lists them in its order, and the fuzz dictionary and
// (through --help) the manual page are made from it.

#include <array>
#include <string_view>

namespace nudgewick {

// What a start asks of the running copy, or of the copy it becomes when none
// runs: Start for its options and settings, else a command, which stands alone
// on the command line.
enum class Command { Start, Toggle, Stop, Go, Quit, Query };  // Query: --status

enum class Option { For, Until, Hours, Days, Hotkey, Pid, While, Battery, Minimized, Check, Help, Version, Command };

struct OptionName {
    std::string_view name;  // as typed: "--for"
    Option option;
    std::string_view value = {};       // what --help calls its value; empty when it takes none
    Command command = Command::Start;  // what an Option::Command asks for
};

// In the order of --help, which gives neighbours that it describes alike one
// line ("-h, --help"); the options come before the commands.
inline constexpr std::array kOptionNames{
    OptionName{"--for", Option::For, "DURATION"},
    OptionName{"--until", Option::Until, "HH:MM"},
    OptionName{"--hours", Option::Hours, "RANGE"},
    OptionName{"--days", Option::Days, "DAYS"},
    OptionName{"--hotkey", Option::Hotkey, "COMBO"},
    OptionName{"--pid", Option::Pid, "PID"},
    OptionName{"--while", Option::While, "NAME"},
    OptionName{"--battery", Option::Battery, "PCT"},
    OptionName{"--minimized", Option::Minimized},
    OptionName{"--check", Option::Check},
    OptionName{"-h", Option::Help},
    OptionName{"--help", Option::Help},
    OptionName{"--version", Option::Version},
    OptionName{"--toggle", Option::Command, {}, Command::Toggle},
    OptionName{"--stop", Option::Command, {}, Command::Stop},
    OptionName{"--go", Option::Command, {}, Command::Go},
    OptionName{"--quit", Option::Command, {}, Command::Quit},
    OptionName{"--status", Option::Command, {}, Command::Query},
};

// The word after the options and settings that starts a command to run.
inline constexpr std::string_view kCommandMark = "--";

// The table's entry for a word; nothing when the word names no option.
constexpr const OptionName* FindOption(std::string_view word) {
    for (const OptionName& entry : kOptionNames) {
        if (entry.name == word) return &entry;
    }
    return nullptr;
}

// The first name of an option, or of the option that gives a command.
constexpr std::string_view NameOf(Option option, Command command = Command::Start) {
    for (const OptionName& entry : kOptionNames) {
        if (entry.option == option && entry.command == command) return entry.name;
    }
    return {};
}

}  // namespace nudgewick
