#pragma once
// Fake controls and services that record what the handlers do to them.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/accessible.h"
#include "core/catalogue.h"
#include "core/controller.h"
#include "core/shell.h"

namespace nudgewick::testing {

using Words = std::vector<std::string>;

// Every text the program makes while it lives is translated so, a plural as its English form for the count.
struct FakeCatalogue : Catalogue {
    std::function<std::string(const char*)> translate;
    explicit FakeCatalogue(std::function<std::string(const char*)> t) : translate(std::move(t)) { UseCatalogue(this); }
    ~FakeCatalogue() override { UseCatalogue(nullptr); }
    std::string Text(const char* text) const override { return translate(text); }
    std::string Plural(const char* one, const char* other, unsigned long n) const override {
        return translate(n == 1 ? one : other);
    }
};

constexpr std::string_view kRussian =
    "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);";

struct FakeTextBox : TextBox {
    std::string text;
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override { text = t; }
};
struct FakeButton : Button {
    std::string caption;
    void SetCaption(const std::string& c) override { caption = c; }
};
// period is 0 while stopped; starts counts every (re)start of the countdown,
// and due is when it fires next on the steady clock, once given one.
struct FakeTimer : SystemTimer {
    int period = 0, starts = 0;
    const std::int64_t* steady = nullptr;
    std::int64_t due = 0;
    void Start(int ms) override {
        EXPECT_GT(ms, 0);
        period = ms, ++starts;
        if (steady) due = *steady + ms;
    }
    void Stop() override { period = 0; }
};
// Records each message with what the box held when it was shown.
struct FakeMessages : MessageDialog {
    const FakeTextBox* box = nullptr;
    Words shown, boxTextWhenShown;
    void Show(const std::string& text) override { shown.push_back(text), boxTextWhenShown.push_back(box->text); }
};
// A screen with a right-hand edge, where moves stop.
struct FakePointer : Pointer {
    Point at{400, 300};
    std::int32_t width = 1 << 20;
    bool readFails = false;
    std::vector<std::int32_t> moves;  // horizontal distance of each move asked for
    int reopens = 0;
    std::optional<std::string> reopenFailure;

    std::optional<Point> Read() override { return readFails ? std::nullopt : std::optional(at); }
    void MoveBy(std::int32_t dx, std::int32_t dy) override {
        moves.push_back(dx);
        at = {std::clamp(at.x + dx, 0, width - 1), at.y + dy};
    }
    std::optional<std::string> Reopen() override { return ++reopens, reopenFailure; }
};
struct FakeLauncher : Launcher {
    Words opened;
    std::optional<std::string> failure;
    std::optional<std::string> Open(const std::string& address) override { return opened.push_back(address), failure; }
};
struct FakeClock : Clock {
    std::int64_t wall = 0, steady = 0;
    std::int64_t WallSeconds() const override { return wall; }
    std::int64_t SteadyMilliseconds() const override { return steady; }
};
// Each text it was given in turn.
struct FakeLabel : TextLabel {
    Words texts;
    void SetText(const std::string& text) override { texts.push_back(text); }
};
struct FakeTray : TrayDisplay {
    TrayView view;
    int shows = 0;
    void Show(const TrayView& v) override { view = v, ++shows; }
};

// PIDs that can be watched, a command that starts as told, and the names of the processes running.
struct FakeProcesses : Processes {
    FakeProcesses() : Processes(ProcessNaming::AsIs) {}
    std::vector<std::int32_t> watchable{1234};
    CommandStart command{4321, true, "make", ""};
    Words running;
    int looks = 0;
    std::optional<std::string> Watch(std::int32_t pid) override {
        return std::ranges::count(watchable, pid) ? std::nullopt : std::optional<std::string>("no such process");
    }
    CommandStart StartCommand() override { return command; }
    bool AnyNamed(const std::function<bool(std::string_view)>& named) override {
        return ++looks, std::ranges::any_of(running, named);
    }
};

// The window as the screen reader sees it, the keyboard in it or (none) elsewhere: 3000 in the interval box, its
// caret at the end and all of it selected; while the message has the keyboard, the message too.
inline AccessibleView Window(AccessibleNode focus, std::optional<AccessibleNode> active = AccessibleNode::Frame) {
    AccessibleView view;
    view.shown = true, view.activeWindow = active, view.focus = focus, view.caption = "Stop";
    view.interval = {"3000", 4, 0, 4}, view.status = "until 17:30";
    if (active == AccessibleNode::Message) view.message = "Refused.";
    view.screen[static_cast<std::size_t>(AccessibleNode::Frame)] = {100, 50, 275, 195};
    view.screen[static_cast<std::size_t>(AccessibleNode::IntervalBox)] = {220, 194, 81, 19};
    view.screen[static_cast<std::size_t>(AccessibleNode::StartStopButton)] = {308, 194, 65, 41};
    return view;
}

// The desktop's lock and power, as a test sets them.
struct FakeDesktop : DesktopWatch {
    DesktopState state;
    DesktopState Look() override { return state; }
};

// A controller wired to fakes, loaded with a command line that CheckCommandLine accepted.
struct Rig {
    FakeTextBox intervalBox, pixelsBox;
    FakeButton button;
    FakeTimer tickTimer, sessionTimer, scheduleTimer;
    FakeClock clock;
    FakeMessages messages;
    FakePointer pointer;
    FakeLauncher launcher;
    FakeTray tray;
    FakeLabel statusLine;
    FakeProcesses processes;
    FakeDesktop desktop;
    Controller controller;

    // Started at 17:00 on 2024-10-04's wall clock, or another time of day; with an idle source where one is told;
    // followed and loaded unless told not to be.
    explicit Rig(std::string_view text = "", std::int64_t timeOfDay = 17 * 3600, IdleSource* idle = nullptr,
                 bool load = true)
        // clang-format off
        : controller({.intervalBox = intervalBox, .pixelsBox = pixelsBox, .startStopButton = button,
                      .tickTimer = tickTimer, .sessionTimer = sessionTimer, .scheduleTimer = scheduleTimer,
                      .messages = messages, .pointer = pointer, .launcher = launcher, .clock = clock, .tray = tray,
                      .statusLine = statusLine, .processes = processes, .idle = idle,
                      .desktop = &desktop}, Accepted(text)) {
        // clang-format on
        clock.wall = 20000 * 86400 + timeOfDay;
        messages.box = &intervalBox;
        for (FakeTimer* timer : {&tickTimer, &sessionTimer, &scheduleTimer}) timer->steady = &clock.steady;
        if (load) controller.Follow(), controller.Load();
    }
    static StartSettings Accepted(std::string_view text) {
        const auto check = CheckCommandLine(text);
        EXPECT_TRUE(check.proceed) << text;
        return check.settings;
    }
    // Which caption the button shows and the ticks' period, e.g. "Stop 5000" or "Go 0".
    std::string ticks() const { return button.caption + " " + std::to_string(tickTimer.period); }
    // With the session timer's period besides, e.g. "Stop 5000, look in 1000".
    std::string session() const { return ticks() + ", look in " + std::to_string(sessionTimer.period); }
    // The session timer fires seconds later; the wall clock may jump besides, as daylight saving starts.
    void FireAfter(std::int64_t seconds, std::int64_t wallJump = 0) {
        clock.steady += seconds * 1000, clock.wall += seconds + wallJump;
        controller.OnSessionTimer();
    }
    // Both clocks move on by ms, the wall clock in whole seconds.
    void Advance(std::int64_t ms) {
        clock.wall += (clock.steady + ms) / 1000 - clock.steady / 1000;
        clock.steady += ms;
    }
    // The ticks' timer fires an interval after the last tick, or as many milliseconds.
    void Tick(std::optional<std::int64_t> ms = {}) { Advance(ms.value_or(tickTimer.period)), controller.OnTick(); }
    // The menu entry with this command, as the icon shows it now, and the choice of it.
    TrayMenuEntry Entry(TrayCommand command, std::chrono::minutes length = {}) const {
        for (const auto& entry : tray.view.menu)
            if (entry.command == command && entry.length == length) return entry;
        ADD_FAILURE() << "no such menu entry";
        return {};
    }
    TrayAction Choose(TrayCommand command, std::chrono::minutes length = {}) {
        return controller.OnTrayEntryChosen(Entry(command, length));
    }
};

// The running copy's window, which records the jobs done to it in order.
struct FakeWindow : ProgramWindow {
    Rig rig;
    std::string jobs;
    std::optional<std::string> showFailure;
    std::optional<HotkeyRefusal> grab;
    explicit FakeWindow(std::string_view text, bool load = true) : rig(text, 17 * 3600, nullptr, load) {}
    Controller& Program() override { return rig.controller; }
    std::optional<std::string> Show() override { return jobs += "show ", rig.controller.Load(), showFailure; }
    int Run() override { return jobs += "run ", 0; }
    void GrabHotkey(const Hotkey&, HotkeyAnswer answered) override { jobs += "hotkey ", answered({grab, {}}); }
    void Hide() override { jobs += "hide "; }
    void Present() override { jobs += "present "; }
    void Close() override { jobs += "close "; }
};
// A front-end for start-up: a console (said: "out", "err" or "box" a line), a copy that runs or not, and so on.
struct FakeShell : Shell, Console, SingleInstance {
    bool console = true, watched = true, copyRuns = false, claimed = false, released = false, canNudge = true,
         opens = true;
    std::string said;
    std::optional<std::string> answer = "0 done\n", handedOver, unreachable, showFailure;
    CommandHandler handle;
    std::optional<FakeWindow> window;
    Console& Output() override { return *this; }
    bool Write(const std::string&, bool err) override { return console && (said += err ? "err " : "out ", true); }
    bool Watched() const override { return watched; }
    void ShowBox(const std::string&) override { said += "box "; }
    std::optional<std::string> ReachDesktop() override { return unreachable; }
    CheckReport Check() override { return {"route: fake\n", canNudge}; }
    SingleInstance& Instance() override { return *this; }
    Found Claim(bool claim) override {
        claimed = claim && !copyRuns;
        return copyRuns ? Found::OtherCopy : claim ? Found::Claimed : Found::NoCopy;
    }
    std::optional<std::string> HandOver(std::string_view line) override { return handedOver = line, answer; }
    void OnCommandLine(CommandHandler h) override { handle = std::move(h); }
    void Release() override { released = true; }
    ProgramWindow* OpenWindow(const StartSettings&, std::string_view line) override {
        if (!opens) return nullptr;  // the front-end said why
        window.emplace(line, false);
        return window->showFailure = showFailure, &*window;
    }
};

}  // namespace nudgewick::testing
