#include "core/controller.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "core/catalogue.h"
#include "core/number_text.h"
#include "core/product_address.h"
#include "core/settings.h"

namespace nudgewick {
namespace {

std::string LinkMessage(const std::string& address, const std::string& failure) {
    return Format(Tr("The web address %1 could not be opened: %2"),
                  {address, failure.ends_with('.') ? failure : failure + "."});
}

// The key's own name, which the keyboard is said to lack: "F13".
std::string KeyName(const Hotkey& hotkey) {
    const std::string text = HotkeyText(hotkey);
    std::string key = text.substr(text.rfind('+') + 1);
    key.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(key.front())));
    return key;
}

std::string HotkeyRefusedMessage(const Hotkey& hotkey, const HotkeyRefusal& why) {
    const std::string combination = HotkeyText(hotkey);
    if (why.kind == HotkeyRefusal::NoSuchKey) {
        return Format(Tr("nudgewick: no key of this keyboard produces %1, so the hotkey %2 cannot be pressed; running "
                         "without it\n"),
                      {KeyName(hotkey), combination});
    }
    if (why.kind == HotkeyRefusal::Failed) {
        return Format(Tr("nudgewick: the hotkey %1 could not be had: %2; running without it\n"),
                      {combination, why.reason});
    }
    return Format(Tr("nudgewick: the hotkey %1 is already taken by another program; running without it\n"),
                  {combination});
}

std::string HotkeyRefusedNote(const Hotkey& hotkey, const HotkeyRefusal& why) {
    if (why.kind == HotkeyRefusal::NoSuchKey)
        return Format(Tr("Hotkey %1: no key produces %2"), {HotkeyText(hotkey), KeyName(hotkey)});
    if (why.kind == HotkeyRefusal::Failed) return Format(Tr("Hotkey %1: %2"), {HotkeyText(hotkey), why.reason});
    return Format(Tr("Hotkey %1 taken by another program"), {HotkeyText(hotkey)});
}

// Where no program may take a key from the whole desktop (a Wayland session),
// or the desktop's shortcuts did not take it (why).
std::string HotkeyUnavailableMessage(const Hotkey* hotkey, const std::string& why) {
    if (hotkey == nullptr || why.empty()) {
        return Format(Tr("nudgewick: a Wayland session gives no program a hotkey of its own; %1 instead\n"),
                      {Tr(kBindToggleAdvice)});
    }
    return Format(Tr("nudgewick: the desktop's shortcuts do not hold the hotkey %1 (%2); %3 instead\n"),
                  {HotkeyText(*hotkey), why, Tr(kBindToggleAdvice)});
}
constexpr const char* kHotkeyUnavailableNote = Marked("No hotkey on Wayland: bind a key to nudgewick --toggle");

// The desktop's words may be a sentence of their own (GNOME's "Press <ctrl><alt>n").
std::string DesktopHotkeyNote(const std::string& trigger) {
    return Format(Tr("Hotkey (a desktop shortcut): %1"), {trigger.empty() ? Tr("no key set") : trigger});
}

constexpr const char* kRouteClosedNote = Marked("The desktop ended remote control: Go asks for it again");

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b,
                              [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// Whether a running process's name is the one --while asks for. On Windows
// the ".exe" may be left out of either.
bool IsNamed(std::string_view name, std::string_view wanted, ProcessNaming naming) {
    if (naming == ProcessNaming::AsIs) return name == wanted;
    const auto stem = [](std::string_view file) {
        const bool exe = file.size() > 4 && SameIgnoringCase(file.substr(file.size() - 4), ".exe");
        return exe ? file.substr(0, file.size() - 4) : file;
    };
    return SameIgnoringCase(stem(name), stem(wanted));
}

// Written only when it differs, so that an unchanged box keeps its caret.
void ShowInForce(TextBox& box, std::int16_t value) {
    const std::string text = WholeNumberText(value);
    if (box.Text() != text) box.SetText(text);
}

}  // namespace

FocusMove WhereFocusWent(const FocusAfterLeaving& after) {
    const bool another = after.inWindow && !after.backInBox && !after.closing;
    return another ? FocusMove::ToAnotherControl : FocusMove::Elsewhere;
}

Controller::Controller(const ControllerParts& parts, const StartSettings& start)
    : parts_(parts), start_(start), session_(parts.clock) {}

std::optional<StartupCheck> Controller::Follow() {
    if (start_.pid) {
        if (const auto why = parts_.processes.Watch(*start_.pid)) return RefusePid(*start_.pid, *why);
        followed_ = start_.pid;
    }
    if (!start_.commandAt) return std::nullopt;
    const CommandStart started = parts_.processes.StartCommand();
    if (!started.pid) return RefuseCommand(started);
    command_ = started.pid;
    commandName_ = started.name;
    return std::nullopt;
}

void Controller::Load() {
    state_.interval = start_.interval;
    state_.pixels = start_.pixels;
    parts_.intervalBox.SetText(WholeNumberText(state_.interval));
    parts_.pixelsBox.SetText(WholeNumberText(state_.pixels));
    state_.phase = NudgePhase::Right;
    parts_.startStopButton.SetCaption(Tr(kCaptionStop));
    SetTickInterval(state_.interval);
    LookForNamedProcess();
    LookAtDesktop();
    if (start_.runFor) session_.RunFor(*start_.runFor);
    if (start_.runUntil) session_.RunUntil(*start_.runUntil);
    ArmSessionTimer();
    if (FollowingHours()) FollowHoursFromNow();
    ShowTray();
}

// A tick is awake anyway. After the program was stopped or the computer
// slept, it ends a session whose end passed meanwhile before anything else,
// and a timer that makes up for the ticks missed meanwhile brings one at once
// after the late one: they count as one. It notices a boundary that the wall
// clock jumped past, or back over, which the schedule timer, counting steady
// time, would see late, and shows the times of the new clock.
void Controller::OnTick() {
    if (session_.Due()) return OnSessionTimer();
    const std::int64_t steady = parts_.clock.SteadyMilliseconds();
    if (lastTick_ && steady - *lastTick_ < tickInterval_ / 2) return;
    lastTick_ = steady;
    if (FollowingHours() && NextBoundary(*start_.workHours, parts_.clock.WallSeconds()) != scheduleBoundary_) {
        OnScheduleTimer();
        if (!Running()) return;
    }
    if (ClockJumped()) ShowTray();
    if (!session_.Active()) LookForNamedProcess();
    LookAtDesktop();
    if (Waiting()) return;
    if (Locked() || SavingBattery()) {
        if (parts_.idle == nullptr) RememberPointer(state_, parts_.pointer);
        return;
    }
    if (parts_.idle != nullptr) {
        NudgeIfIdle(state_, parts_.pointer, *parts_.idle);
    } else {
        NudgeIfStill(state_, parts_.pointer);
    }
}

// A click holds until the hours' next start or end from now: one that the
// wall clock jumped past unnoticed while the ticks were stopped is behind it.
void Controller::OnStartStopClicked() {
    EndSession();
    if (FollowingHours()) scheduleBoundary_ = NextBoundary(*start_.workHours, parts_.clock.WallSeconds());
    Running() ? StopTicks() : StartTicks();
    ShowTray();
}

// Runs on every focus change away from the box, even with the text unchanged,
// and always hands the timer the interval: that resumes stopped ticks, whose
// caption then names the next click's action again, and restarts the
// countdown of running ones.
void Controller::OnIntervalBoxLeft(FocusMove move) {
    if (move != FocusMove::ToAnotherControl) return;
    TakeInterval();
    StartTicks();
    ShowTray();
}

void Controller::OnPixelsBoxLeft(FocusMove move) {
    if (move != FocusMove::ToAnotherControl) return;
    TakePixels();  // the distance is nothing the icon shows
}

// Ticks go on arriving while a message is open; the tick touches nothing
// this does. The box shows the interval in force afterwards.
void Controller::TakeInterval() {
    const auto number = ReadDecimal(parts_.intervalBox.Text());
    if (!number) {
        parts_.messages.Show(IntervalMessage());
    } else if (IsLessThan(*number, kIntervalFloor)) {
        parts_.messages.Show(FloorMessage());
        state_.interval = kIntervalFloor;
    } else if (RoundHalfEven(*number) > kIntervalLimit) {
        parts_.messages.Show(IntervalMessage());
        state_.interval = kIntervalLimit;
    } else {
        state_.interval = static_cast<std::int16_t>(RoundHalfEven(*number));
    }
    ShowInForce(parts_.intervalBox, state_.interval);
}

void Controller::TakePixels() {
    if (const auto pixels = PixelsFromText(parts_.pixelsBox.Text())) {
        state_.pixels = *pixels;
    } else {
        parts_.messages.Show(PixelsMessage());
    }
    ShowInForce(parts_.pixelsBox, state_.pixels);
}

void Controller::OnLinkClicked() {
    if (const auto failure = parts_.launcher.Open(kProductAddress)) OnLinkOpenFailed(*failure);
}

void Controller::OnLinkOpenFailed(const std::string& reason) {
    parts_.messages.Show(LinkMessage(kProductAddress, reason));
}

// Early, or the wall clock says not yet: looks again later.
void Controller::OnSessionTimer() {
    if (!session_.Due()) return ArmSessionTimer();
    session_.Cancel();
    ArmSessionTimer();
    StopTicks();
    stoppedTooltip_ = StoppedTooltip(parts_.clock.WallSeconds());
    ShowTray();
}

// The next boundary differs from the one looked for once the wall clock has
// passed that one, or was set back over the one before it.
void Controller::OnScheduleTimer() {
    if (!FollowingHours()) return parts_.scheduleTimer.Stop();
    const std::int64_t now = parts_.clock.WallSeconds();
    const auto next = NextBoundary(*start_.workHours, now);
    const bool crossed = next != scheduleBoundary_;
    if (crossed && !session_.Active()) {
        stoppedTooltip_.reset();
        if (!InsideHours(*start_.workHours, now)) {
            StopTicks();
        } else if (!Running()) {
            StartTicks();
        }
    }
    scheduleBoundary_ = next;
    ArmScheduleTimer();
    if (crossed || ClockJumped()) ShowTray();
}

std::string Controller::OnHotkeyRefused(const HotkeyRefusal& why) {
    if (why.kind == HotkeyRefusal::Unavailable) {
        hotkeyNote_ = [] { return Tr(kHotkeyUnavailableNote); };
        ShowTray();
        return HotkeyUnavailableMessage(start_.hotkey ? &*start_.hotkey : nullptr, why.reason);
    }
    if (!start_.hotkey) return {};
    hotkeyNote_ = [hotkey = *start_.hotkey, why] { return HotkeyRefusedNote(hotkey, why); };
    ShowTray();
    return HotkeyRefusedMessage(*start_.hotkey, why);
}

std::string Controller::OnHotkeyOutcome(const HotkeyOutcome& outcome) {
    if (outcome.refusal) return OnHotkeyRefused(*outcome.refusal);
    if (!outcome.desktopTrigger) return {};
    hotkeyNote_ = [trigger = *outcome.desktopTrigger] { return DesktopHotkeyNote(trigger); };
    ShowTray();
    return {};
}

CommandJobs Controller::OnCommandLine(const StartSettings& given) {
    const Command command = given.command;
    if (command == Command::Start) return TakeStart(given);
    if (command == Command::Quit) return {false, false, std::nullopt, true, std::nullopt};
    if (command == Command::Toggle) OnStartStopClicked();
    if (command == Command::Stop || command == Command::Go) ClickToRun(command == Command::Go);
    return {};  // a query is only answered
}

// A --pid that cannot be watched refuses the whole command line.
CommandJobs Controller::TakeStart(const StartSettings& given) {
    if (const auto why = given.pid ? parts_.processes.Watch(*given.pid) : std::nullopt) {
        const StartupCheck refusal = RefusePid(*given.pid, *why);
        return {false, false, std::nullopt, false, CommandAnswer{refusal.exitCode, refusal.output}};
    }
    TakeSettings(given);
    return {AsksNothing(given), given.minimized, given.hotkey, false, std::nullopt};
}

// The ticks resume, as at a start of the program's own; a new --while name
// is looked for at once, so that the answer tells whether it runs.
void Controller::TakeProcesses(const StartSettings& given) {
    if (given.pid) followed_ = given.pid;
    if (given.whileRunning) start_.whileRunning = given.whileRunning;
    if (given.battery) start_.battery = given.battery;
    if (!given.pid && !given.whileRunning && !given.battery) return;
    if (Running()) LookForNamedProcess();  // stopped ticks look as they start
    Resume();
}

std::optional<int> Controller::OnProcessEnded(std::int32_t pid, const ProcessEnd& end) {
    if (pid == command_) return end.signal ? 128 + *end.signal : end.code;
    if (pid != followed_) return std::nullopt;  // replaced by a later --pid
    followed_.reset();
    EndSession();
    StopTicks();
    stoppedTooltip_ = ProcessEndedTooltip(pid);
    ShowTray();
    return std::nullopt;
}

void Controller::TakeSettings(const StartSettings& given) {
    if (given.settingsGiven) {
        state_.interval = given.interval;
        state_.pixels = given.pixels;
        ShowInForce(parts_.intervalBox, state_.interval);
        ShowInForce(parts_.pixelsBox, state_.pixels);
        StartTicks();
    }
    if (given.runFor) session_.RunFor(*given.runFor);
    if (given.runUntil) session_.RunUntil(*given.runUntil);
    if (given.runFor || given.runUntil) Resume();
    if (given.workHours) {
        start_.workHours = given.workHours;
        followHours_ = true;
        FollowHoursFromNow();
    }
    if (given.hotkey) {
        start_.hotkey = given.hotkey;
        hotkeyNote_ = nullptr;
    }
    TakeProcesses(given);
    ShowTray();
}

void Controller::OnDesktopChanged() { LookAtDesktop(); }

// At 100 a charge never is above, so only mains power nudges; an unknown
// charge on battery holds back.
bool Controller::SavingBattery() const {
    return Running() && start_.battery && !session_.Active() && desktop_.onBattery &&
           desktop_.charge.value_or(0) <= *start_.battery;
}

// The icon follows a change, which a tick or a signal notices.
void Controller::LookAtDesktop() {
    if (parts_.desktop == nullptr) return;
    const DesktopState now = parts_.desktop->Look();
    if (now == desktop_) return;
    desktop_ = now;
    ShowTray();
}

void Controller::OnInputRouteClosed() {
    routeClosed_ = true;
    EndSession();
    StopTicks();
    ShowTray();
    parts_.messages.Show(
        Tr("The desktop ended the remote control through which Nudgewick moves the pointer, so it "
           "stopped nudging. Go asks the desktop for remote control again."));
}

TrayAction Controller::OnTrayEntryChosen(const TrayMenuEntry& entry) {
    switch (entry.command) {
    case TrayCommand::Stop: ClickToRun(false); break;
    case TrayCommand::Go: ClickToRun(true); break;
    case TrayCommand::RunFor:
        session_.RunFor(entry.length);
        Resume();
        break;
    case TrayCommand::RunUntilStopped:
        session_.Cancel();
        Resume();
        break;
    case TrayCommand::FollowWorkHours:
        // The ticks stay as they are either way; followed again, the hours
        // act from their next boundary on, as after a click.
        followHours_ = entry.checked != true;
        scheduleBoundary_ = NextBoundary(*start_.workHours, parts_.clock.WallSeconds());
        ArmScheduleTimer();
        ShowTray();
        break;
    case TrayCommand::ShowWindow: return TrayAction::ShowWindow;
    case TrayCommand::Exit: return TrayAction::Exit;
    }
    return TrayAction::Handled;
}

// What happens next: a session's end, else the work hours' next end or start.
TrayView Controller::Tray() const {
    std::optional<std::string> next;
    if (FollowingHours()) {
        const std::int64_t now = parts_.clock.WallSeconds();
        const auto at = Running() ? NextEnd(*start_.workHours, now) : NextStart(*start_.workHours, now);
        if (at) next = WhenText(now, *at);
    }
    std::string tooltip;
    if (Locked()) {
        tooltip = LockedTooltip();
    } else if (Waiting()) {
        tooltip = WaitingTooltip(*start_.whileRunning);
    } else if (SavingBattery()) {
        tooltip = BatteryTooltip(desktop_.charge);
    } else if (Running()) {
        if (session_.Active()) {
            next = session_.EndText();
        } else if (followed_) {
            next = ProcessEndText(*followed_);
        }
        tooltip = NudgingTooltip(tickInterval_, next);
    } else {
        tooltip = next ? StoppedUntilTooltip(*next) : stoppedTooltip_.value_or(StoppedTooltip({}));
    }
    if (hotkeyNote_) tooltip += "\n" + hotkeyNote_();
    if (routeClosed_) tooltip += "\n" + Tr(kRouteClosedNote);
    if (command_) tooltip = NamingCommand(tooltip, commandName_);
    const auto following = start_.workHours ? std::optional(followHours_) : std::nullopt;
    return {Running() && !Waiting() && !Locked() && !SavingBattery(), tooltip, TrayMenu(Running(), following)};
}

void Controller::ShowTray() {
    const TrayView view = Tray();
    parts_.tray.Show(view);
    shownOffset_ = ClockOffset();
    // Written only when it changes, since a screen reader reads out each change.
    const std::string status = StatusLine(view.tooltip);
    if (status != statusShown_) parts_.statusLine.SetText(statusShown_ = status);
}

void Controller::SetTickInterval(int milliseconds) {
    const bool wasRunning = Running();
    tickInterval_ = milliseconds;
    if (milliseconds != 0) {
        parts_.tickTimer.Start(milliseconds);
    } else {
        parts_.tickTimer.Stop();
    }
    if (Running() != wasRunning) ArmScheduleTimer();
}

// After the desktop closed the pointer's way, the ticks start only once it
// is open again.
void Controller::StartTicks() {
    if (routeClosed_) {
        if (const auto why = parts_.pointer.Reopen()) {
            return parts_.messages.Show(Format(Tr("Nudgewick cannot nudge the pointer: %1"), {*why}));
        }
        routeClosed_ = false;
    }
    SetTickInterval(state_.interval);
    parts_.startStopButton.SetCaption(Tr(kCaptionStop));
    LookForNamedProcess();
}

void Controller::StopTicks() {
    SetTickInterval(0);
    parts_.startStopButton.SetCaption(Tr(kCaptionGo));
}

void Controller::EndSession() {
    session_.Cancel();
    stoppedTooltip_.reset();
    ArmSessionTimer();
}

void Controller::ClickToRun(bool run) {
    if (Running() != run) OnStartStopClicked();
}

void Controller::Resume() {
    if (!Running()) StartTicks();
    ArmSessionTimer();
    ShowTray();
}

// Inside the work hours the ticks run and outside they stop, unless a session
// runs to its end; the timer waits for their next start or end.
void Controller::FollowHoursFromNow() {
    const std::int64_t now = parts_.clock.WallSeconds();
    if (!session_.Active() && !InsideHours(*start_.workHours, now)) {
        StopTicks();
    } else if (!session_.Active() && !Running()) {
        StartTicks();
    }
    scheduleBoundary_ = NextBoundary(*start_.workHours, now);
    ArmScheduleTimer();
}

// The icon follows a change, which a tick notices.
void Controller::LookForNamedProcess() {
    const bool waiting = start_.whileRunning && !parts_.processes.AnyNamed([this](std::string_view name) {
        return IsNamed(name, *start_.whileRunning, parts_.processes.naming);
    });
    if (waiting == waiting_) return;
    waiting_ = waiting;
    ShowTray();
}

void Controller::ArmSessionTimer() {
    if (const auto wait = session_.MillisecondsToCheck()) {
        parts_.sessionTimer.Start(*wait);
    } else {
        parts_.sessionTimer.Stop();
    }
}

// Armed for the boundary, on the steady clock, and checked against the wall
// clock when it fires. A jump forward of the wall clock makes that late: the
// ticks catch it while they run, and while they are stopped the wall clock is
// looked at every minute.
void Controller::ArmScheduleTimer() {
    if (!FollowingHours() || !scheduleBoundary_) return parts_.scheduleTimer.Stop();
    constexpr std::int64_t kLongestStoppedLook = 60'000;
    // A timer counts in an int of milliseconds, about 24 days: a boundary
    // further away than that (the wall clock was set back weeks) is looked
    // at again when the timer fires.
    constexpr std::int64_t kLongestWait = std::numeric_limits<int>::max();
    std::int64_t wait = (*scheduleBoundary_ - parts_.clock.WallSeconds()) * 1000;  // past already: at once
    if (!Running()) wait = std::min(wait, kLongestStoppedLook);
    parts_.scheduleTimer.Start(static_cast<int>(std::clamp<std::int64_t>(wait, 1, kLongestWait)));
}

}  // namespace nudgewick
