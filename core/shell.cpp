#include "core/shell.h"

#include "core/catalogue.h"
#include "core/command_channel.h"

namespace nudgewick {
namespace {

// What ends a start before it runs, where the console reaches someone, else
// in a box: a box would keep a script that asked for the version waiting for
// its OK.
int Refuse(Console& console, const StartupCheck& refusal) {
    if (!console.Write(refusal.output, refusal.exitCode != 0)) console.ShowBox(refusal.windowText);
    return refusal.exitCode;
}

// An answer from the running copy, or about it, on the stream the core names;
// a plain second start's only where someone reads it, and a failure in a box
// where there is no console.
int Report(Console& console, const CommandAnswer& answer, const StartSettings& asked) {
    if (AsksNothing(asked) && !console.Watched()) return answer.exitCode;
    if (!console.Write(answer.text, OnStandardError(answer, asked)) && Failed(answer)) console.ShowBox(answer.text);
    return answer.exitCode;
}

int ReportCheck(Console& console, const CheckReport& report) {
    if (!console.Write(report.text, false)) console.ShowBox(report.text);
    return report.canNudge ? 0 : 1;
}

// The window outlives what it was handed: the answer reaches its program.
void GrabHotkey(ProgramWindow& window, Console& console, const Hotkey& hotkey) {
    window.GrabHotkey(hotkey, [&window, &console](const HotkeyOutcome& outcome) {
        const std::string line = window.Program().OnHotkeyOutcome(outcome);
        if (!line.empty()) console.Write(line, true);
    });
}

// The copy that claimed runs the window until the program ends; the command
// lines handed over meanwhile are taken from the event loop.
int RunCopy(Shell& shell, const StartSettings& start, std::string_view commandLine, SingleInstance* instance) {
    Console& console = shell.Output();
    ProgramWindow* window = nullptr;
    if (instance != nullptr) {
        instance->OnCommandLine([&](std::string_view message) -> std::optional<std::string> {
            if (window == nullptr) return std::nullopt;
            return TakeCommandLine(message, *window, *instance, console);
        });
    }
    window = shell.OpenWindow(start, commandLine);
    if (window == nullptr) return 1;
    if (const auto refusal = window->Program().Follow()) return Refuse(console, *refusal);
    if (const auto failure = window->Show()) {
        console.ShowBox(*failure);
        return 1;
    }
    if (start.hotkey) GrabHotkey(*window, console, *start.hotkey);
    const int exitStatus = window->Run();
    if (instance != nullptr) instance->OnCommandLine(nullptr);  // the window is done with
    return exitStatus;
}

}  // namespace

std::string LockCheckLines(const std::string& sources, bool locked) {
    return Format(Tr("lock: %1\n"), {sources.empty() ? Tr("none found") : sources}) +
           (locked ? Tr("paused: locked\n") : "");
}

namespace {

std::string DisplayText(std::string_view display) {
    return display.empty() ? Tr("no X display (DISPLAY is not set)") : Format(Tr("display %1"), {display});
}

}  // namespace

std::string X11SessionCheckLines(std::string_view display, bool displayOpen, bool xtest) {
    const std::string session = Format(Tr("session: X11, %1\n"), {DisplayText(display)});
    if (!displayOpen) return session + Tr("route: none: cannot open the X display\n");
    return session + Format(Tr("route: %1\n"), {xtest ? "XTEST" : Tr("none: the X server lacks the XTEST extension")}) +
           Tr("idle: the pointer's position, read at each tick\n");
}

std::string WaylandSessionCheckLines(std::string_view waylandDisplay, std::string_view display, bool displayOpen,
                                     std::string_view route, std::string_view idle) {
    const std::string window = displayOpen ? DisplayText(display) : Tr("none: the window needs Xwayland");
    return Format(Tr("session: Wayland, display %1; the window on Xwayland, %2\n"), {waylandDisplay, window}) +
           Format(Tr("route: %1\n"), {route}) + Format(Tr("idle: %1\n"), {idle});
}

std::string NudgeRefusedLine(const std::string& why) {
    return Format(Tr("nudgewick: the system did not take a nudge: %1\n"), {why});
}

int RunProgram(Shell& shell, std::string_view commandLine) {
    Console& console = shell.Output();
    const StartupCheck check = CheckCommandLine(commandLine);
    if (!check.proceed) return Refuse(console, check);
    const StartSettings& start = check.settings;
    const auto unreachable = shell.ReachDesktop();
    if (start.check) return ReportCheck(console, shell.Check());
    const auto withoutCopy = AnswerWithoutCopy(start.command);
    if (unreachable && withoutCopy) return Report(console, *withoutCopy, start);
    if (unreachable) {
        console.Write(*unreachable, true);
        return 1;
    }
    // A start with "--" runs a copy of its own, beside the desktop's copy.
    if (start.commandAt) return RunCopy(shell, start, commandLine, nullptr);
    SingleInstance& instance = shell.Instance();
    const SingleInstance::Found found = instance.Claim(!withoutCopy);
    if (found == SingleInstance::Found::OtherCopy)
        return Report(console, ReadAnswer(instance.HandOver(commandLine)), start);
    if (found == SingleInstance::Found::NoCopy) return Report(console, *withoutCopy, start);
    return RunCopy(shell, start, commandLine, &instance);
}

// The answer is written before the program ends, and after the claim is
// given up: a start that comes once it is read finds no copy and runs its own.
std::optional<std::string> TakeCommandLine(std::string_view message, ProgramWindow& window, SingleInstance& instance,
                                           Console& console) {
    const auto given = ReadHandedOver(message);
    if (!given) return std::nullopt;
    Controller& program = window.Program();
    const CommandJobs jobs = program.OnCommandLine(*given);
    if (jobs.hotkey) GrabHotkey(window, console, *jobs.hotkey);
    if (jobs.hide) window.Hide();
    if (jobs.present) window.Present();
    const std::string answer = WriteAnswer(jobs.refusal ? *jobs.refusal : [&] {
        const MeaningOnly meaning;
        return program.AnswerTo(*given);
    }());
    if (jobs.quit) {
        instance.Release();
        window.Close();
    }
    return answer;
}

}  // namespace nudgewick
