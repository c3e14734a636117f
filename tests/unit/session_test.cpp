#include "fakes.h"

namespace nudgewick::testing {
namespace {

using namespace std::chrono_literals;

// The session timer fires a second early, then on time.
TEST(SessionTest, ADurationEndsTheTicksAsTheButtonWould) {
    Rig rig("--for 1h10m 5000 7");
    EXPECT_EQ(rig.session(), "Stop 5000, look in 4200000");
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: nudging every 5 s until 18:10");
    rig.FireAfter(4199);
    EXPECT_EQ(rig.session(), "Stop 5000, look in 1000");
    rig.FireAfter(1);
    EXPECT_EQ(rig.session(), "Go 0, look in 0");
    EXPECT_EQ(rig.txtInterval.text + " " + rig.txtPixels.text, "5000 7");
    EXPECT_EQ(rig.state().nInterval, 5000);
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: stopped at 18:10");
    rig.form.btoGO_Click();
    rig.form.btoGO_Click();
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: stopped") << "stopped by a click since";
}

// From 01:00 until 03:30, with the clocks put forward an hour at 02:00: the
// end comes after an hour and a half, not two and a half.
TEST(SessionTest, ATimeOfDayIsAWallClockTime) {
    Rig rig("--until 3:30 4500", 3600);
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: nudging every 4.5 s until 03:30");
    EXPECT_EQ(rig.session(), "Stop 4500, look in 60000") << "at least every minute";
    rig.FireAfter(3600, 3600);
    rig.FireAfter(1799);
    EXPECT_EQ(rig.session(), "Stop 4500, look in 1000");
    rig.FireAfter(1);
    EXPECT_EQ(rig.ticks(), "Go 0");

    Rig later("--until 17:00");  // at 17:00: the next 17:00 is tomorrow's
    EXPECT_EQ(later.form.TrayTooltip(), "Nudgewick: nudging every 10 s until 17:00");
    later.FireAfter(24 * 3600 - 1);
    EXPECT_EQ(later.ticks(), "Stop 10000");
    later.FireAfter(1);
    EXPECT_EQ(later.ticks(), "Go 0");
}

TEST(SessionTest, TheMenuResumesAndTheButtonOrRunUntilStoppedEndsIt) {
    Rig rig;
    const auto choose = [&rig](const std::string& text) {
        for (const auto& entry : rig.form.TrayMenu()) {
            if (entry.text == text) return rig.form.TrayMenu_Click(entry);
        }
        FAIL() << "no menu entry " << text;
    };
    choose("Stop");
    choose("Run for 30 minutes");
    EXPECT_EQ(rig.session(), "Stop 10000, look in 1800000");
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: nudging every 10 s until 17:30");
    rig.form.btoGO_Click();
    EXPECT_EQ(rig.session(), "Go 0, look in 0");
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: stopped");
    choose("Go");
    choose("Run for 2 hours");
    EXPECT_EQ(rig.session(), "Stop 10000, look in 7200000");
    choose("Run for 1 hour");
    choose("Show window");  // the front-end's, as is Exit
    choose("Exit");
    EXPECT_EQ(rig.session(), "Stop 10000, look in 3600000");
    choose("Run until stopped");
    EXPECT_EQ(rig.session(), "Stop 10000, look in 0");
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: nudging every 10 s");
    rig.FireAfter(3 * 3600);  // a late firing changes nothing
    EXPECT_EQ(rig.ticks(), "Stop 10000");
}

TEST(SessionTest, TheSystemClockCountsLocalCalendarSeconds) {
    std::tm local{};  // 2024-03-31 02:30:15
    local.tm_year = 124, local.tm_mon = 2, local.tm_mday = 31, local.tm_hour = 2, local.tm_min = 30, local.tm_sec = 15;
    EXPECT_EQ(WallSecondsOf(local), 1711852215);
}

}  // namespace
}  // namespace nudgewick::testing
