#pragma once
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/command_channel.h"
#include "core/command_line.h"
#include "core/controls.h"
#include "core/nudge.h"
#include "core/session.h"
#include "core/tray.h"

namespace nudgewick {

// The controls and system services the controller is wired to. The front-end
// owns them and keeps them alive as long as the controller. Built with
// designated initializers, so that the two boxes and the timers cannot be
// swapped.
struct ControllerParts {
    TextBox& intervalBox;
    TextBox& pixelsBox;
    Button& startStopButton;
    SystemTimer& tickTimer;      // its firing goes to OnTick
    SystemTimer& sessionTimer;   // its firing goes to OnSessionTimer
    SystemTimer& scheduleTimer;  // its firing goes to OnScheduleTimer
    MessageDialog& messages;
    Pointer& pointer;
    Launcher& launcher;
    const Clock& clock;
    TrayDisplay& tray;
    TextLabel& statusLine;  // the window's line that says what the tooltip says
    Processes& processes;   // their ends go to OnProcessEnded
    // Where set, the ticks judge "still" by the desktop's idle time rather
    // than by the pointer's position, which the front-end cannot read.
    IdleSource* idle = nullptr;
    // Whether the screen is locked and what powers the computer; where not
    // set, never locked and on mains.
    DesktopWatch* desktop = nullptr;
};

// What a front-end sees of the keyboard focus once it has left a box.
struct FocusAfterLeaving {
    bool inWindow = false;   // a control of the window has it, the box itself included
    bool backInBox = false;  // the box that was left has it again
    bool closing = false;    // the window is closing
};

// Only a move to another control of the window takes a box's text: not one
// to another window or to our own message, nor back to the box, nor while the
// window closes.
FocusMove WhereFocusWent(const FocusAfterLeaving& after);

// The front-end's part of a command line that a second start handed over.
struct CommandJobs {
    bool present = false;          // show the window in front, as a plain second start asks
    bool hide = false;             // --minimized: hide it behind the icon, or iconify it where none shows
    std::optional<Hotkey> hotkey;  // --hotkey: take this one in place of any other
    bool quit = false;             // --quit: end the program, once the answer is sent
    // A --pid that cannot be watched: the answer, in place of AnswerTo's; nothing was taken.
    std::optional<CommandAnswer> refusal;
};

// The program's controller: it owns the state and handles every event of the
// window, its timers, the icon and the hotkey. Handlers run one at a time on
// the thread of the event loop; after each one that can change what the
// notification-area icon shows, the icon is handed a new view.
class Controller {
public:
    Controller(const ControllerParts& parts, const StartSettings& start);

    // Before the window is first shown, and before Load: watches the process
    // that --pid names and starts the command after "--". A refusal to print
    // and end with when either cannot be.
    std::optional<StartupCheck> Follow();
    // Before the window is first shown: the settings in the boxes, the ticks
    // started, and a timed session if one was asked for.
    void Load();
    void OnTick();
    // The ticks' timer, never the caption, tells whether the ticks run. A
    // click ends a timed session.
    void OnStartStopClicked();
    // Only leaving a box for another control of the window takes its text.
    void OnIntervalBoxLeft(FocusMove move);
    void OnPixelsBoxLeft(FocusMove move);
    void OnLinkClicked();
    // An opener that started ended in failure, as the front-end's launcher
    // learnt later: the same message as a failure to start.
    void OnLinkOpenFailed(const std::string& reason);
    void OnSessionTimer();
    // At a boundary of the work hours, the ticks start or stop as a click on
    // the button would, unless a timed session runs: it runs to its own end.
    // Early, or after the clock was changed, it only looks again.
    void OnScheduleTimer();
    // The hotkey toggles exactly as the button does.
    void OnHotkey() { OnStartStopClicked(); }
    // The hotkey could not be had: the tooltip says why from now on, and
    // where no hotkey can be had (a Wayland session), points to the
    // desktop's own shortcuts. Returns the line that says so on standard error.
    std::string OnHotkeyRefused(const HotkeyRefusal& why);
    // What the system made of the hotkey, told once it is known and again
    // when the desktop changes it: held as the desktop's shortcut, the
    // tooltip names its keys. The line for standard error, if any.
    std::string OnHotkeyOutcome(const HotkeyOutcome& outcome);
    // The desktop ended the remote control that carried the nudges (GNOME's
    // indicator has a button for it): the ticks stop as after a click on
    // Stop, a message and the tooltip say why, and whatever starts the ticks
    // again first asks the pointer to reopen its way.
    void OnInputRouteClosed();
    // The screen was locked or unlocked, or the power supply changed: the
    // icon follows at once, and the ticks hold back or nudge again.
    void OnDesktopChanged();
    // A second start's command line, taken as at a start of the program's
    // own: a command acts as the button, the menu or Exit does; the settings
    // given replace those in force, the boxes show them and the ticks run;
    // --for and --until start a session, as the menu's "Run for" does; work
    // hours replace the earlier ones and act from now. The front-end does the
    // rest, then sends AnswerTo back.
    CommandJobs OnCommandLine(const StartSettings& given);
    // --status exits 0 while the icon shows the nudging look.
    CommandAnswer AnswerTo(const StartSettings& asked) const {
        const TrayView view = Tray();
        return AnswerFor(asked, view.running, view.tooltip);
    }
    // A watched process ended. The one --pid named stops the ticks as a
    // session's end does; the command's ends the program: the exit status to
    // end with, as a shell gives it.
    std::optional<int> OnProcessEnded(std::int32_t pid, const ProcessEnd& end);
    // Acts on the entry as it was shown: "Stop" never starts the ticks, "Go"
    // never stops them. Showing the window and exiting are the front-end's.
    TrayAction OnTrayEntryChosen(const TrayMenuEntry& entry);

    bool Running() const { return tickInterval_ != 0; }
    TrayView Tray() const;
    const NudgeState& State() const { return state_; }

private:
    void TakeInterval();
    void TakePixels();
    void SetTickInterval(int milliseconds);
    void StartTicks();
    void StopTicks();
    void EndSession();
    void Resume();  // the menu's: stopped ticks started as the button would
    // A click on the button unless the ticks already run, or are already
    // stopped: "Stop" never starts them, "Go" never stops them.
    void ClickToRun(bool run);
    void ArmSessionTimer();
    bool FollowingHours() const { return start_.workHours && followHours_; }
    void ArmScheduleTimer();
    void FollowHoursFromNow();
    CommandJobs TakeStart(const StartSettings& given);
    void TakeSettings(const StartSettings& given);
    void TakeProcesses(const StartSettings& given);
    // The icon and the window's status line show what holds now.
    void ShowTray();
    // Seconds by which the wall clock is ahead of the steady one: it changes when the wall clock jumps.
    std::int64_t ClockOffset() const { return parts_.clock.WallSeconds() - parts_.clock.SteadyMilliseconds() / 1000; }
    bool ClockJumped() const { return std::abs(ClockOffset() - shownOffset_) > 1; }
    // --while: looks whether such a process runs; true while none does.
    void LookForNamedProcess();
    bool Waiting() const { return Running() && waiting_ && !session_.Active(); }
    // A locked screen holds back every tick, a session's and a click's too;
    // --battery only those outside a session.
    bool Locked() const { return Running() && desktop_.locked; }
    bool SavingBattery() const;
    void LookAtDesktop();

    ControllerParts parts_;
    StartSettings start_;
    NudgeState state_;
    int tickInterval_ = 0;  // 0 while the ticks are stopped
    Session session_;
    std::optional<std::string>
        stoppedTooltip_;       // since a session or a process ended the ticks, unless a click came since
    bool followHours_ = true;  // the menu's "Follow work hours"
    std::optional<std::int64_t> scheduleBoundary_;  // the next start or end of the work hours
    std::optional<std::string> hotkeyNote_;         // why the hotkey does not work, if it does not
    bool routeClosed_ = false;                      // by the desktop, and not yet reopened
    std::optional<std::int32_t> followed_;          // --pid's process, until it ends
    std::optional<std::int32_t> command_;           // the process of the command after "--"
    std::string commandName_;                       // and its program, as the command line gives it
    bool waiting_ = false;                          // --while: no such process ran at the last look
    DesktopState desktop_;                          // as at the last look
    std::optional<std::int64_t> lastTick_;          // on the steady clock, the last tick that counted
    std::string statusShown_;                       // in the window's status line
    std::int64_t shownOffset_ = 0;                  // ClockOffset when the icon was last shown
};

}  // namespace nudgewick
