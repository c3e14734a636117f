#include "fakes.h"

namespace nudgewick::testing {
namespace {

constexpr std::int64_t kHour = 3600, kDay = 24 * kHour;
const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const std::string kWeekdays = "--hours 09:00-17:30 --days mon-fri ";

// "Fri 17:00" as the Rig's time of day: from Friday 2024-10-04 00:00, the Rig's day, to the Thursday after.
std::int64_t At(std::string_view text) {
    const std::int64_t day = std::find(std::begin(kDays), std::end(kDays), text.substr(0, 3)) - std::begin(kDays);
    const std::int64_t clock =
        std::stoi(std::string(text.substr(4, 2))) * kHour + std::stoi(std::string(text.substr(7))) * 60;
    return (day + 3) % 7 * kDay + clock;
}
// A wall-clock second as "Mon 09:00", and how many hours away from now it is.
std::string Named(std::int64_t wall, std::int64_t now) {
    return std::string(kDays[WeekdayOf(wall)]) + " " + WallClockText(wall) + " +" +
           std::to_string((wall - now) / kHour) + "h";
}
WorkHours Hours(std::string_view options) { return *Rig::Accepted(options).workHours; }

TEST(ScheduleTest, TheNextBoundaryOfEachKindOfSchedule) {
    // The options, the time, whether it is inside the hours, and the next boundary with the hours from now,
    // which a wrong week would change.
    const std::tuple<const char*, const char*, bool, const char*> cases[] = {
        {"--hours 09:00-17:30 --days mon-fri", "Fri 17:00", true, "Fri 17:30 +0h"},
        {"--hours 09:00-17:30 --days mon-fri", "Fri 17:30", false, "Mon 09:00 +63h"},
        {"--hours 09:00-17:30 --days mon-fri", "Mon 09:00", true, "Mon 17:30 +8h"},
        {"--hours 9:00-15:00", "Sat 18:00", false, "Sun 09:00 +15h"},               // every day
        {"--hours 22:00-6:00 --days mon-fri", "Fri 23:00", true, "Sat 06:00 +7h"},  // the night belongs to Friday
        {"--hours 22:00-06:00 --days mon-fri", "Sat 23:00", false, "Mon 22:00 +47h"},
        {"--hours 22:00-06:00 --days mon-fri", "Mon 05:00", false, "Mon 22:00 +17h"},  // Sunday's night is not one
        {"--days sat,sun", "Fri 17:00", false, "Sat 00:00 +7h"},                       // whole days, joined
        {"--days mon,wed-fri", "Mon 12:00", true, "Tue 00:00 +12h"},
        {"--days fri-mon", "Tue 12:00", false, "Fri 00:00 +60h"},  // round the end of the week
        {"--days Sun --hours 00:00-23:59", "Sun 23:59", false, "Sun 00:00 +144h"},
        {"--days sat --hours 00:00-24:00", "Sat 23:59", true, "Sun 00:00 +0h"},  // the whole day
        {"--hours 22:00-24:00", "Mon 21:00", false, "Mon 22:00 +1h"},
    };
    for (const auto& [options, at, inside, next] : cases) {
        SCOPED_TRACE(std::string(options) + " at " + at);
        const WorkHours work = Hours(options);
        const std::int64_t now = 20000 * kDay + At(at);
        EXPECT_EQ(InsideHours(work, now), inside);
        const std::int64_t boundary = NextBoundary(work, now).value_or(now);
        EXPECT_EQ(Named(boundary, now), next);
        EXPECT_EQ(InsideHours(work, boundary), !inside) << "a boundary changes it";
        EXPECT_EQ(InsideHours(work, boundary - 1), inside) << "and nothing before it does";
        EXPECT_GT(NextStart(work, now).value_or(now + 1), now) << "a start now is no next start";
    }
    EXPECT_FALSE(NextBoundary(Hours("--days mon-sun"), 0)) << "every day, all day: no boundary";
    EXPECT_TRUE(InsideHours(Hours("--days mon-sun"), 0));
}

enum class Step { Wait, Pass, Jump, Tick, Click, Follow };

// The Rig with its session and schedule timers firing when due, as an event
// loop would fire them, and the wall clock jumping when told to.
struct Week : Rig {
    // The pointer where the ticks last saw it, so that every tick nudges.
    Week(std::string_view options, std::int64_t timeOfDay) : Rig(options, timeOfDay) { pointer.at = {0, 0}; }
    // The wall clock's day and time with the caption, "Mon 09:00 Stop"; the ticks' timer has to agree with it.
    std::string Now() const {
        EXPECT_EQ(tickTimer.period, button.caption == "Stop" ? 10000 : 0) << button.caption;
        return std::string(kDays[WeekdayOf(clock.wall)]) + " " + WallClockText(clock.wall) + " " + button.caption;
    }
    // Fires the due timers in turn for up to seconds, or until the ticks start or stop.
    void Run(std::int64_t seconds, bool untilChange) {
        const std::int64_t end = clock.steady + seconds * 1000;
        const std::string before = ticks();
        while (!(untilChange && ticks() != before)) {
            FakeTimer* next = nullptr;
            for (FakeTimer* timer : {&sessionTimer, &scheduleTimer})
                if (timer->period != 0 && (!next || timer->due < next->due)) next = timer;
            if (!next || next->due > end) return Advance(end - clock.steady);
            Advance(next->due - clock.steady);
            next->due += next->period;
            next == &sessionTimer ? controller.OnSessionTimer() : controller.OnScheduleTimer();
        }
    }
    // A tick nudges the pointer, left where the previous one found it, if and only if the ticks still run after it.
    void TickAfter(std::int64_t wallJump) {
        Advance(tickTimer.period), clock.wall += wallJump;
        const std::size_t before = pointer.moves.size();
        controller.OnTick();
        EXPECT_EQ(pointer.moves.size() > before, tickTimer.period != 0) << Now();
    }
    // Whatever happens, the icon shows it.
    void Do(Step step, std::int64_t seconds) {
        switch (step) {
        case Step::Wait: Run(8 * kDay, true); break;
        case Step::Pass: Run(seconds, false); break;
        case Step::Jump: clock.wall += seconds; break;
        case Step::Tick: TickAfter(seconds); break;
        case Step::Click: controller.OnStartStopClicked(); break;
        case Step::Follow: EXPECT_EQ(Choose(TrayCommand::FollowWorkHours), TrayAction::Handled); break;
        }
        EXPECT_EQ(tray.view, controller.Tray()) << Now();
        EXPECT_EQ(statusLine.texts.back(), StatusLine(tray.view.tooltip)) << Now();
    }
};

TEST(ScheduleTest, TheHoursStartAndStopTheTicksAsTheButtonWould) {
    using enum Step;
    // The step, the time and caption after it, and its seconds (for Pass, Jump and Tick, the wall clock's jump).
    struct Then {
        Step step;
        const char* now;
        std::int64_t seconds = 0;
    };
    const struct {
        const char* start;
        std::vector<Then> steps;
        std::string options = kWeekdays;
    } cases[] = {
        // clang-format off
        {"Fri 17:00 Stop", {{Wait, "Fri 17:30 Go"}, {Wait, "Mon 09:00 Stop"}, {Wait, "Mon 17:30 Go"}}},
        // A click holds until the next boundary, which may be one that changes nothing.
        {"Fri 17:00 Stop", {{Click, "Fri 17:00 Go"}, {Wait, "Mon 09:00 Stop"}}},
        {"Sat 10:00 Go", {{Click, "Sat 10:00 Stop"}, {Wait, "Mon 17:30 Go"}}},
        // A session runs to its own end, inside or outside the hours; the next boundary takes over.
        {"Fri 17:00 Stop", {{Wait, "Fri 18:00 Go"}, {Wait, "Mon 09:00 Stop"}}, "--for 1h " + kWeekdays},
        {"Fri 16:00 Stop", {{Wait, "Fri 16:30 Go"}, {Wait, "Mon 09:00 Stop"}}, "--for 30m " + kWeekdays},
        // Not followed, the hours change nothing; followed again, they act from their next boundary.
        {"Fri 17:00 Stop", {{Follow, "Fri 17:00 Stop"}, {Pass, "Tue 17:00 Stop", 4 * kDay}, {Follow, "Tue 17:00 Stop"},
                            {Wait, "Tue 17:30 Go"}}},
        {"Sat 10:00 Go", {{Follow, "Sat 10:00 Go"}, {Pass, "Wed 10:00 Go", 4 * kDay}}},
        // The wall clock jumps forward at 17:10 while the ticks run: the next tick sees the end come or passed.
        {"Fri 17:00 Stop", {{Pass, "Fri 17:10 Stop", 600}, {Tick, "Fri 17:30 Go", 1190}}},
        {"Fri 17:00 Stop", {{Pass, "Fri 17:10 Stop", 600}, {Tick, "Fri 18:10 Go", 3600}}},
        // ... or while a click stopped them: a click after the jump holds until the next start, ticks and all.
        {"Fri 17:00 Stop", {{Click, "Fri 17:00 Go"}, {Jump, "Fri 18:00 Go", 3600}, {Click, "Fri 18:00 Stop"},
                            {Tick, "Fri 18:00 Stop"}}},
        // ... or at 02:00 while they are stopped: 09:00 still comes on time, and a start in the skipped
        // hour comes at the next look, within the minute.
        {"Mon 01:00 Go", {{Pass, "Mon 02:00 Go", 3600}, {Jump, "Mon 03:00 Go", 3600}, {Wait, "Mon 09:00 Stop"}}},
        {"Sat 01:00 Go", {{Pass, "Sat 02:00 Go", 3600}, {Jump, "Sat 03:00 Go", 3600}, {Wait, "Sat 03:01 Stop"}},
         "--hours 02:30-06:00"},
        // The clock set back an hour, and back to summer time: the end still comes at 17:30 on the wall clock.
        {"Fri 17:00 Stop", {{Pass, "Fri 17:10 Stop", 600}, {Jump, "Fri 16:10 Stop", -3600}, {Wait, "Fri 17:30 Go"}}},
        // ... or back over an end or a start: the hours hold as on the new clock, from the next look or tick.
        {"Fri 17:00 Stop", {{Wait, "Fri 17:30 Go"}, {Jump, "Fri 16:30 Go", -3600}, {Wait, "Fri 16:31 Stop"},
                            {Wait, "Fri 17:30 Go"}}},
        {"Mon 09:00 Stop", {{Tick, "Mon 08:00 Go", -3600}, {Wait, "Mon 09:00 Stop"}}},
        {"Sun 02:59 Go", {{Pass, "Sun 03:00 Go", 60}, {Jump, "Sun 02:00 Go", -3600}, {Wait, "Sun 02:01 Stop"},
                          {Wait, "Sun 02:30 Go"}}, "--hours 22:00-02:30"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options + " from " + c.start);
        Week week(c.options, At(c.start));
        EXPECT_EQ(week.Now(), c.start);
        for (const auto& [step, now, seconds] : c.steps) {
            week.Do(step, seconds);
            EXPECT_EQ(week.Now(), now);
        }
        EXPECT_EQ(std::ranges::adjacent_find(week.statusLine.texts), week.statusLine.texts.end()) << "said twice";
    }
}

// While the ticks run nothing else wakes the program before the boundary;
// stopped, the wall clock is looked at every minute.
TEST(ScheduleTest, TheTooltipAndTheMenuSayWhatHappensNext) {
    Week week(kWeekdays + "--hotkey ctrl+alt+n", At("Fri 09:00"));
    const auto next = [&week] { return std::pair(week.tray.view.tooltip, week.scheduleTimer.period); };
    EXPECT_EQ(next(), std::pair(NudgingTooltip(10000, "17:30"), 8 * 3600'000 + 1800'000));
    EXPECT_EQ(week.Entry(TrayCommand::FollowWorkHours).checked, true);
    week.Do(Step::Wait, 0);
    EXPECT_EQ(next(), std::pair(StoppedUntilTooltip("Mon 09:00"), 60'000));
    week.Do(Step::Click, 0);
    EXPECT_EQ(next(), std::pair(NudgingTooltip(10000, "Mon 17:30"), (63 * 3600 + 1800) * 1000))
        << "the next end that stops; running, nothing until Mon 09:00";
    week.Do(Step::Follow, 0);
    EXPECT_EQ(next(), std::pair(NudgingTooltip(10000, {}), 0));
    week.Choose(TrayCommand::RunUntilStopped);
    EXPECT_EQ(week.Entry(TrayCommand::FollowWorkHours).checked, false) << "and stays so";
    week.controller.OnHotkey();
    EXPECT_EQ(week.Now(), "Fri 17:30 Go") << "the hotkey is the button";
    const std::string said = week.controller.OnHotkeyRefused({HotkeyRefusal::Failed, "busy"});
    EXPECT_TRUE(said.ends_with("\n") && said.find("ctrl+alt+n") != said.npos && said.find("busy") != said.npos) << said;
    EXPECT_TRUE(week.tray.view.tooltip.starts_with(StoppedTooltip({}) + "\n")) << week.tray.view.tooltip;
    EXPECT_NE(week.tray.view.tooltip.find("ctrl+alt+n"), std::string::npos) << week.tray.view.tooltip;
    EXPECT_EQ(Rig().controller.OnHotkeyRefused({HotkeyRefusal::Failed, "busy"}), "") << "none asked, none refused";
    Rig f13("--hotkey ctrl+shift+f13");
    const std::string lacking = f13.controller.OnHotkeyRefused(HotkeyRefusal::NoSuchKey);
    EXPECT_NE(lacking.find(" F13"), std::string::npos) << "the key as the keyboard names it: " << lacking;
    EXPECT_NE(f13.tray.view.tooltip.find(" F13"), std::string::npos) << f13.tray.view.tooltip;
    for (const auto& entry : Rig().tray.view.menu) EXPECT_FALSE(entry.checked) << "no hours: no tick box";
    EXPECT_EQ(Rig("--hours 00:00-24:00").tray.view.tooltip, NudgingTooltip(10000, {})) << "hours that never end";
    EXPECT_EQ(WhenText(0, kDay), "Fri 00:00") << "a day ahead: with the day";
}

}  // namespace
}  // namespace nudgewick::testing
