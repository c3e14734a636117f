#include <cstdlib>
#include <ctime>

#include "fakes.h"

namespace nudgewick::testing {
namespace {

TEST(ClockTest, TheSystemClockCountsLocalCalendarSeconds) {
    std::tm local{};  // 2024-03-31 02:30:15
    local.tm_year = 124, local.tm_mon = 2, local.tm_mday = 31, local.tm_hour = 2, local.tm_min = 30, local.tm_sec = 15;
    EXPECT_EQ(WallSecondsOf(local), 1711852215);
    EXPECT_EQ(WallClockText(1711852215), "02:30");
    EXPECT_EQ(WallClockText(-60), "23:59") << "the day before 1970 too";
    const std::int64_t before = SteadyMicroseconds() / 1000, milliseconds = SystemClock().SteadyMilliseconds();
    EXPECT_TRUE(before <= milliseconds && milliseconds <= SteadyMicroseconds() / 1000) << "one steady clock";
}

// Zones written out in POSIX's form, off UTC by a part hour or behind it: no zone files needed.
TEST(ClockTest, TheSystemClockKeepsTheZoneItRead) {
    const auto useZone = [](const char* zone) {
#ifdef _WIN32
        _putenv_s("TZ", zone);
        _tzset();
#else
        setenv("TZ", zone, 1);
        tzset();
#endif
    };
    const auto offset = [](const SystemClock& clock) { return double(clock.WallSeconds() - std::time(nullptr)); };
    useZone("XST-5:30");
    const SystemClock clock;
    EXPECT_NEAR(offset(clock), 5 * 3600 + 30 * 60, 1);
    useZone("YST+3");
    EXPECT_NEAR(offset(clock), 5 * 3600 + 30 * 60, 1) << "kept until it is read again";
    EXPECT_NEAR(offset(SystemClock()), -3 * 3600, 1);
}

// The session timer fires a second early, then on time. The wall clock set back an hour
// meanwhile moves the end the tooltip tells (18:09:59 is 18:09), not the session's length.
TEST(SessionTest, ADurationEndsTheTicksAsTheButtonWould) {
    Rig rig("--for 1h9m59s 5000 7");
    EXPECT_EQ(rig.session() + rig.tray.view.tooltip, "Stop 5000, look in 4199000" + NudgingTooltip(5000, "18:09"));
    rig.clock.wall -= 3600;
    rig.Tick();
    EXPECT_EQ(rig.tray.view.tooltip, NudgingTooltip(5000, "17:09"));
    rig.FireAfter(4193);
    EXPECT_EQ(rig.session(), "Stop 5000, look in 1000");
    rig.FireAfter(1);
    EXPECT_EQ(rig.session() + rig.tray.view.tooltip, "Go 0, look in 0" + StoppedTooltip(rig.clock.wall));
    rig.controller.OnStartStopClicked(), rig.controller.OnStartStopClicked();
    EXPECT_EQ(rig.tray.view.tooltip, StoppedTooltip({})) << "stopped by a click since";
}

// An end given as a time of day is one on the wall clock: each row's firings (seconds later, the wall clock's
// jump besides) bring it a second away, and the next ends the session.
TEST(SessionTest, ATimeOfDayIsAWallClockTime) {
    using Firings = std::vector<std::pair<std::int64_t, std::int64_t>>;
    const std::tuple<const char*, std::int64_t, Firings, const char*> cases[] = {
        // From 01:00, the clocks put forward an hour at 02:00: the end comes after an hour and a half.
        {"--until 3:30 4500", 3600, {{3600, 3600}, {1799, 0}}, "03:30"},
        {"--until 17:00 4500", 17 * 3600, {{24 * 3600 - 1, 0}}, "17:00"},              // at 17:00: tomorrow's
        {"--until 17:30 4500", 17 * 3600, {{1, -2 * 24 * 3600}, {1798, 0}}, "17:30"},  // set back two days: today's
    };
    for (const auto& [options, timeOfDay, firings, end] : cases) {
        Rig rig(options, timeOfDay);
        EXPECT_EQ(rig.sessionTimer.period, 60000) << options << ": at least every minute";
        for (const auto& [seconds, jump] : firings) rig.FireAfter(seconds, jump);
        EXPECT_EQ(rig.session() + rig.tray.view.tooltip, "Stop 4500, look in 1000" + NudgingTooltip(4500, end));
        rig.FireAfter(1);
        EXPECT_EQ(rig.ticks(), "Go 0") << options;
    }
}

}  // namespace
}  // namespace nudgewick::testing
