#include "fakes.h"

namespace nudgewick::testing {
namespace {

using namespace std::chrono_literals;

// The session timer fires a second early, then on time.
TEST(SessionTest, ADurationEndsTheTicksAsTheButtonWould) {
    Rig rig("--for 1h30m 5000 7");
    EXPECT_EQ(rig.session(), "Stop 5000, look in 5400000");
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: nudging every 5 s until 18:30");
    rig.clock.Pass(5399);
    rig.form.SessionTimer_Timer();
    EXPECT_EQ(rig.session(), "Stop 5000, look in 1000");
    rig.clock.Pass(1);
    rig.form.SessionTimer_Timer();
    EXPECT_EQ(rig.session(), "Go 0, look in 0");
    EXPECT_EQ(rig.txtInterval.text + " " + rig.txtPixels.text + " " + std::to_string(rig.state().nInterval),
              "5000 7 5000");
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: stopped at 18:30");
    EXPECT_FALSE(rig.form.Running());
}

// From 01:00 until 03:30, with the clocks put forward an hour at 02:00: the
// end comes after an hour and a half, not two and a half.
TEST(SessionTest, ATimeOfDayIsAWallClockTime) {
    Rig rig("--until 3:30 4500", 3600);
    EXPECT_EQ(rig.form.TrayTooltip(), "Nudgewick: nudging every 4.5 s until 03:30");
    EXPECT_EQ(rig.session(), "Stop 4500, look in 60000") << "at least every minute";
    rig.clock.Pass(3600, 3600);
    rig.form.SessionTimer_Timer();
    rig.clock.Pass(1799);
    rig.form.SessionTimer_Timer();
    EXPECT_EQ(rig.session(), "Stop 4500, look in 1000");
    rig.clock.Pass(1);
    rig.form.SessionTimer_Timer();
    EXPECT_EQ(rig.ticks(), "Go 0");

    Rig later("--until 17:00");  // at 17:00: the next 17:00 is tomorrow's
    later.clock.Pass(23 * 3600);
    later.form.SessionTimer_Timer();
    EXPECT_EQ(later.ticks(), "Stop 10000");
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
    rig.clock.Pass(3 * 3600);
    rig.form.SessionTimer_Timer();  // a late firing changes nothing
    EXPECT_EQ(rig.ticks(), "Stop 10000");
}

}  // namespace
}  // namespace nudgewick::testing
