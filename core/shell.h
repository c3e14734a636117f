#pragma once
// The contract between the program as a whole and a front-end, beside the
// controller's (ControllerParts): what each platform gives start-up, the
// second start and the jobs a command line leaves behind. The core decides
// their order and what is said where (RunProgram, TakeCommandLine); the
// front-ends only build these parts and hand them over. No system header may
// be included here.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/command_line.h"
#include "core/controller.h"
#include "core/hotkey.h"

namespace nudgewick {

// Standard output and standard error, and a box for what they cannot carry.
class Console {
public:
    virtual ~Console() = default;
    // Whole lines; false when there is nowhere to write them (a Windows
    // program started from a shortcut has no console).
    virtual bool Write(const std::string& text, bool toStandardError) = 0;
    // A person reads standard error as it comes (a terminal), not only a
    // script or a log.
    virtual bool Watched() const = 0;
    // A modal message titled kMessageTitle; returns once it is dismissed.
    virtual void ShowBox(const std::string& text) = 0;
};

// One copy of the program per display or session, and the channel through
// which a later start commands it.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    enum class Found { Claimed, NoCopy, OtherCopy };
    // Looks for the running copy, and makes this one the running copy when
    // there is none and claim is true.
    virtual Found Claim(bool claim) = 0;
    // Hands the command line to the running copy and waits for its answer,
    // as it came: nothing when none came in time, empty when it refused.
    virtual std::optional<std::string> HandOver(std::string_view commandLine) = 0;
    // The copy that claimed: handle answers a command line handed over, or
    // refuses it with nothing. Called from the event loop.
    using CommandHandler = std::function<std::optional<std::string>(std::string_view)>;
    virtual void OnCommandLine(CommandHandler handle) = 0;
    // The program is ending: the claim goes at once, so that a start from now
    // on finds no copy, and no command line is taken after this.
    virtual void Release() = 0;
};

// The running copy's window, with the controller behind it.
class ProgramWindow {
public:
    virtual ~ProgramWindow() = default;
    virtual Controller& Program() = 0;
    // Loads the settings and shows the window (with --minimized, hidden
    // behind the icon or iconified): nothing once it is, else why not.
    virtual std::optional<std::string> Show() = 0;
    // Runs the event loop until the program ends: its exit status.
    virtual int Run() = 0;
    // Takes the combination in place of any other, and tells answered what
    // came of it: at once, or later from the event loop where the desktop
    // asks the user first, and again each time the desktop changes it.
    using HotkeyAnswer = std::function<void(const HotkeyOutcome&)>;
    virtual void GrabHotkey(const Hotkey& hotkey, HotkeyAnswer answered) = 0;
    virtual void Hide() = 0;     // behind the icon, or iconified where none shows
    virtual void Present() = 0;  // shown again if hidden or iconified, in front
    virtual void Close() = 0;    // the program ends with status 0, once the event in hand is done
};

// --check's lines, and whether the pointer can be nudged here.
struct CheckReport {
    std::string text;
    bool canNudge = false;
};

// What a front-end gives the program as a whole.
class Shell {
public:
    virtual ~Shell() = default;
    virtual Console& Output() = 0;
    // Reaches the desktop: nothing once it has, else the line that says why
    // not. No copy runs on a desktop that cannot be reached.
    virtual std::optional<std::string> ReachDesktop() = 0;
    virtual CheckReport Check() = 0;
    virtual SingleInstance& Instance() = 0;
    // The running copy's window, built for start; commandLine holds the
    // command after "--" from start.commandAt on. Nothing when the desktop
    // offers no way to nudge, which the shell has said.
    virtual ProgramWindow* OpenWindow(const StartSettings& start, std::string_view commandLine) = 0;
};

// --check's line that names where the lock is read (sources: empty where
// nowhere), and "paused: locked" after it while the screen is locked.
std::string LockCheckLines(const std::string& sources, bool locked);

// --check's "session:", "route:" and "idle:" lines on an X server. display is
// the X display's name, empty where DISPLAY is not set.
std::string X11SessionCheckLines(std::string_view display, bool displayOpen, bool xtest);
// The same in a Wayland session, whose window is on Xwayland's display; route
// and idle name what was chosen.
std::string WaylandSessionCheckLines(std::string_view waylandDisplay, std::string_view display, bool displayOpen,
                                     std::string_view route, std::string_view idle);

// The line that says the system did not take a nudge, in its words (why).
std::string NudgeRefusedLine(const std::string& why);

// The whole program from its command line (UTF-8, after the program's name)
// to its exit status: the checks, the second start, the first frame.
int RunProgram(Shell& shell, std::string_view commandLine);

// A command line that a second start handed over, taken as at a start of the
// running copy's own, with the window's jobs done in one order: the answer to
// send back, or nothing when the message is not one to take.
std::optional<std::string> TakeCommandLine(std::string_view message, ProgramWindow& window, SingleInstance& instance,
                                           Console& console);

}  // namespace nudgewick
