#include "core/command_channel.h"
#include "core/settings.h"
#include "fakes.h"

namespace nudgewick::testing {
namespace {

// Load shows the settings in force and starts the ticks. Then the ticks' timer decides, not the caption; leaving the
// interval box resumes stopped ticks, and the caption says so.
TEST(ControllerTest, TheButtonStopsAndResumesByTheTicksTimer) {
    Rig rig("1000 7"), blank(" \t ");
    EXPECT_EQ(rig.intervalBox.text + " " + rig.pixelsBox.text + " " + rig.ticks(), "3000 7 Stop 3000");
    EXPECT_EQ(blank.intervalBox.text + " " + blank.pixelsBox.text + " " + blank.ticks(), "0 0 Stop 0")
        << "blank only: no ticks although the button reads Stop";
    rig.controller.OnStartStopClicked();
    EXPECT_EQ(rig.ticks(), "Go 0");
    rig.controller.OnIntervalBoxLeft(FocusMove::ToAnotherControl);
    EXPECT_EQ(rig.ticks(), "Stop 3000") << "unchanged box left while stopped";
    rig.controller.OnStartStopClicked();
    EXPECT_EQ(rig.ticks(), "Go 0") << "click after the box resumed the ticks";
    rig.intervalBox.text = "4500";
    rig.controller.OnIntervalBoxLeft(FocusMove::ToAnotherControl);
    rig.controller.OnStartStopClicked(), rig.controller.OnStartStopClicked();
    EXPECT_EQ(rig.ticks(), "Stop 4500") << "resumed with the latest interval";
    blank.controller.OnStartStopClicked();
    EXPECT_EQ(blank.ticks(), "Stop 0") << "interval 0 never starts";
    EXPECT_EQ(rig.tray.shows, 7) << "the icon follows every handler";
    rig.Tick();
    EXPECT_EQ(rig.tray.shows, 7) << "a tick changes nothing the icon shows";
}

// Where the focus went as the front-ends see it: only the first, another control of the window while it stays open,
// takes the box's text; not one to another window or our own message, back to the box, or while closing.
const FocusAfterLeaving kFocusMoves[] = {
    {.inWindow = true}, {}, {.inWindow = true, .backInBox = true}, {.inWindow = true, .closing = true}};

TEST(ControllerTest, ABoxTakesItsValueOrSaysWhyNot) {
    // The pixels box or the interval box; the message shown, if any; both settings and the box's text afterwards.
    // clang-format off
    const std::tuple<bool, const char*, std::string, const char*> cases[] = {
        {false, "2500", FloorMessage(), "3000 7 3000"}, {false, "3000", "", "3000 7 3000"},
        {false, "2999.7", FloorMessage(), "3000 7 3000"},  // below 3000 although it rounds to it
        {false, "4500.5", "", "4500 7 4500"},  // ties to even; the box shows what is in force
        {false, "32767", "", "32767 7 32767"}, {false, "32767.5", IntervalMessage(), "32767 7 32767"},
        {false, "", IntervalMessage(), "5000 7 5000"},  // not a number: the interval in force again
        {true, "-32768", "", "5000 -32768 -32768"}, {true, "1.5", "", "5000 2 2"},
        {true, "far", PixelsMessage(), "5000 7 7"}, {true, "32768", PixelsMessage(), "5000 7 7"},
        {true, "-32769", PixelsMessage(), "5000 7 7"},
    };
    // clang-format on
    for (const auto& [pixels, text, message, after] : cases) {
        for (const FocusAfterLeaving& focus : kFocusMoves) {
            SCOPED_TRACE(text);
            Rig rig("5000 7");
            FakeTextBox& box = pixels ? rig.pixelsBox : rig.intervalBox;
            box.text = text, rig.messages.box = &box;
            pixels ? rig.controller.OnPixelsBoxLeft(WhereFocusWent(focus))
                   : rig.controller.OnIntervalBoxLeft(WhereFocusWent(focus));
            const auto& state = rig.controller.State();
            const std::string settings = std::to_string(state.interval) + " " + std::to_string(state.pixels);
            const bool taken = &focus == &kFocusMoves[0], told = taken && !message.empty();
            EXPECT_EQ(rig.messages.shown, told ? Words{message} : Words{});
            EXPECT_EQ(rig.messages.boxTextWhenShown, told ? Words{text} : Words{}) << "shown first";
            EXPECT_EQ(settings + " " + box.text, taken ? after : "5000 7 " + std::string(text));
            // Leaving the interval box always restarts the countdown; the pixels box leaves it alone.
            const std::pair<int, int> expected(state.interval, taken && !pixels ? 2 : 1);
            EXPECT_EQ(std::pair(rig.tickTimer.period, rig.tickTimer.starts), expected);
        }
    }
}

TEST(ControllerTest, EachLinkClickOpensTheAddressAndAFailureSaysWhy) {
    Rig rig;
    rig.controller.OnLinkClicked();
    rig.launcher.failure = "No such file or directory";
    rig.controller.OnLinkClicked();
    // An opener that started and failed later: the same message, with its reason.
    rig.controller.OnLinkOpenFailed("xdg-open ended with status 3");
    ASSERT_EQ(rig.messages.shown.size(), 2u);
    EXPECT_EQ(rig.launcher.opened, Words(2, rig.launcher.opened.at(0)));
    std::string said = rig.messages.shown[0];
    EXPECT_NE(said.find(rig.launcher.opened[0]), std::string::npos) << "names the address";
    const std::size_t reason = said.find(*rig.launcher.failure);
    ASSERT_NE(reason, std::string::npos) << "and the system's reason: " << said;
    EXPECT_EQ(said.replace(reason, rig.launcher.failure->size(), "xdg-open ended with status 3"),
              rig.messages.shown[1]);
}

// The desktop ended remote control: the ticks and the session stop and a message says why; whatever starts them again
// asks for it first, and a refusal keeps them stopped with the reason shown.
TEST(ControllerTest, ClosedRemoteControlStopsTheTicksUntilReopened) {
    const std::pair<const char*, void (*)(Rig&)> starts[] = {
        {"the button", [](Rig& rig) { rig.controller.OnStartStopClicked(); }},
        {"the menu", [](Rig& rig) { rig.Choose(TrayCommand::RunUntilStopped); }},
        {"the interval box", [](Rig& rig) { rig.controller.OnIntervalBoxLeft(FocusMove::ToAnotherControl); }},
    };
    for (const auto& [how, start] : starts) {
        SCOPED_TRACE(how);
        Rig rig("--for 2h");
        rig.controller.OnInputRouteClosed();
        EXPECT_EQ(rig.session() + ", shown " + std::to_string(rig.messages.shown.size()), "Go 0, look in 0, shown 1");
        EXPECT_TRUE(rig.tray.view.tooltip.starts_with(StoppedTooltip({}) + "\n")) << rig.tray.view.tooltip;
        rig.pointer.reopenFailure = "refused";
        start(rig);
        EXPECT_EQ(rig.ticks(), "Go 0");
        EXPECT_NE(rig.messages.shown.back().find("refused"), std::string::npos);
        rig.pointer.reopenFailure.reset();
        start(rig);
        EXPECT_EQ(rig.ticks() + rig.tray.view.tooltip, "Stop 10000" + NudgingTooltip(10000, {}));
        rig.controller.OnStartStopClicked(), rig.controller.OnStartStopClicked();
        EXPECT_EQ(rig.pointer.reopens, 2) << "open again, nothing more to ask";
    }
}

// --pid's process stops the ticks and a session at its end, until a click; the command's end ends the
// program with its status, and its name is in the tooltip's (not the status line's); a process that cannot be
// watched or a command that cannot start is refused.
TEST(ControllerTest, FollowedProcessesStopTheTicksOrEndTheProgram) {
    Rig rig("--pid 1234 --for 1h 5000 -- make");
    const auto named = [](const std::string& tooltip) { return NamingCommand(tooltip, "make"); };
    EXPECT_EQ(rig.controller.OnProcessEnded(4321, {7, {}}), 7);
    EXPECT_EQ(rig.controller.OnProcessEnded(4321, {0, 9}), 137);
    EXPECT_EQ(rig.controller.OnProcessEnded(99, {}), std::nullopt);
    rig.Choose(TrayCommand::RunUntilStopped);
    EXPECT_EQ(rig.tray.view.tooltip, named(NudgingTooltip(5000, ProcessEndText(1234))));
    rig.Choose(TrayCommand::RunFor, std::chrono::minutes(30));
    EXPECT_EQ(rig.controller.OnProcessEnded(1234, {}), std::nullopt);
    EXPECT_EQ(rig.session() + rig.tray.view.tooltip, "Go 0, look in 0" + named(ProcessEndedTooltip(1234)));
    rig.controller.OnStartStopClicked();
    EXPECT_EQ(rig.tray.view.tooltip, named(NudgingTooltip(5000, {}))) << "no longer followed";
    EXPECT_EQ(rig.statusLine.texts.back(), StatusLine(NudgingTooltip(5000, {})));
    for (const auto& [found, status] : {std::pair(false, 127), {true, 126}}) {
        rig.processes.command = {{}, found, "make", "denied"};
        const auto refusal = rig.controller.Follow().value_or(StartupCheck{});
        EXPECT_EQ(std::pair(refusal.proceed, refusal.exitCode), std::pair(false, status));
        EXPECT_NE(refusal.output.find("\"make\": denied"), std::string::npos) << refusal.output;
    }
    rig.processes.watchable.clear();
    EXPECT_EQ(rig.controller.Follow().value_or(StartupCheck{}).exitCode, 2);
}

// A tick nudges only while a process of the name runs, compared as the system names processes; the icon
// waits meanwhile, and --status answers as while stopped. A session nudges regardless, and no tick looks
// meanwhile; a second start's --while replaces the name and resumes the ticks.
TEST(ControllerTest, WhileNudgesOnlyWhileTheNamedProcessRuns) {
    const std::tuple<ProcessNaming, const char*, Words, bool> cases[] = {
        {ProcessNaming::AsIs, "zoom", {"bash", "zoom"}, true},
        {ProcessNaming::AsIs, "zoom", {"Zoom", "zoom.exe", "zoo"}, false},
        {ProcessNaming::FileNameAnyCase, "r", {"R.exe"}, true},
        {ProcessNaming::FileNameAnyCase, "Zoom.EXE", {"zoom"}, true},
        {ProcessNaming::FileNameAnyCase, "zoom", {"zoom.exe.exe", "zoo.exe", "zoomexe", "zoom.ex", "zoomtool"}, false}};
    for (const auto& [naming, wanted, running, nudges] : cases) {
        Rig rig(std::string("--while ") + wanted + " 5000 3");
        EXPECT_EQ(rig.tray.view.tooltip, WaitingTooltip(wanted)) << "none runs yet";
        rig.processes.naming = naming, rig.processes.running = running;
        rig.Tick();
        rig.Tick();
        EXPECT_EQ(rig.pointer.moves.size(), nudges ? 1u : 0u) << wanted << " " << running[0];
        EXPECT_EQ(rig.tray.view.running, nudges);
        EXPECT_EQ(rig.tray.view.tooltip, nudges ? NudgingTooltip(5000, {}) : WaitingTooltip(wanted));
        EXPECT_EQ(rig.controller.AnswerTo(*ReadHandedOver("--status")).exitCode, nudges ? 0 : 3);
    }
    Rig rig("--while zoom 5000 3");
    rig.Choose(TrayCommand::RunFor, std::chrono::minutes(30));
    const int looks = rig.processes.looks;
    rig.Tick();
    rig.Tick();
    EXPECT_EQ(std::pair(rig.pointer.moves.size(), rig.processes.looks - looks), std::pair(std::size_t{1}, 0));
    rig.controller.OnStartStopClicked();
    Rig gone("--while zoom 5000 3");  // ended while stopped: Go looks at once
    gone.processes.running = {"zoom"}, gone.Tick(), gone.controller.OnStartStopClicked();
    gone.processes.running = {}, gone.controller.OnStartStopClicked();
    EXPECT_EQ(gone.tray.view.tooltip, WaitingTooltip("zoom"));
    Rig running("5000 3");  // looks at once, not at the next tick
    for (Rig* copy : {&rig, &running}) copy->controller.OnCommandLine(*ReadHandedOver("--while teams"));
    for (Rig* copy : {&rig, &running})
        EXPECT_EQ(copy->ticks() + copy->tray.view.tooltip, "Stop 5000" + WaitingTooltip("teams"));
}

// Ticks after the program was stopped (SIGSTOP, a suspend): the late one, then the one the timer makes up for at
// once, which counts for nothing; a wall clock put forward brings them early, and those count for nothing either.
// A session whose end passed meanwhile ends at the late tick, before it nudges.
TEST(ControllerTest, TicksMissedMeanwhileCountAsOne) {
    // The command line; each tick's milliseconds after the one before, with the wall clock's jump; the moves.
    const std::tuple<const char*, std::vector<std::pair<int, int>>, std::vector<std::int32_t>, const char*> cases[] = {
        {"3000 3", {{3000, 0}, {20000, 0}, {0, 0}, {1500, 0}}, {3, -3, 3}, "Stop 3000"},  // half an interval on: one
        {"3000 3", {{3000, 0}, {1000, 3600}, {0, 0}, {3000, 0}}, {3, -3}, "Stop 3000"},
        {"--for 10s 3000 3", {{3000, 0}, {20000, 0}}, {3}, "Go 0"},
    };
    for (const auto& [options, ticks, moves, after] : cases) {
        Rig rig(options);
        rig.pointer.at = {0, 0};  // where the ticks last saw it: each one nudges
        for (const auto& [milliseconds, jump] : ticks) rig.clock.wall += jump, rig.Tick(milliseconds);
        EXPECT_EQ(std::pair(rig.pointer.moves, rig.ticks()), std::pair(moves, std::string(after))) << options;
    }
}

// A locked screen holds back every tick, a session's and a click's too; --battery those outside a session while
// the charge is not above it. Each row: the command line, the desktop, what came before, the paused tooltip if any.
TEST(ControllerTest, ALockedScreenAndALowBatteryHoldTheTicksBack) {
    enum Before { Nothing, Session, Clicks, ZoomRuns };
    const DesktopState lock{.locked = true, .charge = {}}, low{.onBattery = true, .charge = 40};
    const std::string b40 = "--battery 40 5000 3", z50 = "--while zoom --battery 50 5000 3";
    // clang-format off
    const std::tuple<std::string, DesktopState, Before, std::optional<std::string>> cases[] = {
        {"5000 3", lock, Nothing, LockedTooltip()}, {"5000 3", lock, Session, LockedTooltip()},
        {"5000 3", lock, Clicks, LockedTooltip()}, {"--hours 09:00-18:00 5000 3", lock, Nothing, LockedTooltip()},
        {z50, lock, ZoomRuns, LockedTooltip()}, {z50, low, Nothing, WaitingTooltip("zoom")},
        {b40, low, Nothing, BatteryTooltip(40)}, {b40, low, Clicks, BatteryTooltip(40)}, {b40, low, Session, {}},
        {b40, {.onBattery = true, .charge = 41}, Nothing, {}}, {"--battery 100 5000 3", {.charge = 5}, Nothing, {}},
        {"--battery 100 5000 3", {.onBattery = true, .charge = 100}, Nothing, BatteryTooltip(100)},
        {"--battery 0 5000 3", {.onBattery = true, .charge = {}}, Nothing, BatteryTooltip({})},
        {"--hours 09:00-18:00 " + b40, low, ZoomRuns, BatteryTooltip(40)}, {"5000 3", low, Nothing, {}},
    };
    // clang-format on
    for (const auto& [options, desktop, before, paused] : cases) {
        Rig rig(options);
        rig.processes.running = {before == ZoomRuns ? "zoom" : "bash"};
        if (before == Session) rig.Choose(TrayCommand::RunFor, std::chrono::hours(1));
        if (before == Clicks) rig.controller.OnStartStopClicked(), rig.controller.OnStartStopClicked();
        rig.desktop.state = desktop;
        rig.controller.OnDesktopChanged();
        const TrayView view = rig.tray.view;
        rig.Tick(), rig.Tick();
        EXPECT_EQ(std::tuple(view.running, rig.statusLine.texts.back(), rig.pointer.moves.size()),
                  std::tuple(!paused, StatusLine(paused.value_or(view.tooltip)), paused ? 0u : 1u))
            << options << " " << before;
    }
    Rig locked("5000 3", 17 * 3600, nullptr, false);  // started while locked: says so at once
    locked.desktop.state = lock, locked.controller.Load();
    EXPECT_EQ(locked.tray.view.tooltip, LockedTooltip());
    // The pointer moved while locked counts from where the locked ticks saw it; a session ends on time; a second
    // start hands --battery over.
    Rig rig("5000 3");
    rig.Choose(TrayCommand::RunFor, std::chrono::minutes(30));
    rig.desktop.state = lock;
    rig.Tick(), rig.pointer.at = {10, 20}, rig.Tick(), rig.Tick();  // looked at by the ticks, unannounced
    rig.desktop.state = {}, rig.controller.OnDesktopChanged(), rig.Tick();
    EXPECT_EQ(rig.pointer.moves, std::vector<std::int32_t>{3});
    rig.desktop.state = low, rig.controller.OnDesktopChanged(), rig.FireAfter(1800);
    EXPECT_EQ(rig.ticks(), "Go 0");
    rig.controller.OnCommandLine(*ReadHandedOver("--battery 50"));
    EXPECT_EQ(rig.ticks() + rig.tray.view.tooltip, "Stop 5000" + BatteryTooltip(40));
}

}  // namespace
}  // namespace nudgewick::testing
