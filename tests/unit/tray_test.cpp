#include "fakes.h"

namespace nudgewick::testing {
namespace {

using std::chrono::minutes;

TEST(TrayTest, TheMenuResumesAndTheButtonOrRunUntilStoppedEndsASession) {
    Rig rig;
    const auto choose = [&rig](TrayCommand command, minutes length = {}) {
        return rig.controller.OnTrayEntryChosen(rig.Entry(command, length));
    };
    choose(TrayCommand::Stop);
    EXPECT_EQ(choose(TrayCommand::RunFor, minutes(30)), TrayAction::Handled);
    EXPECT_EQ(rig.session(), "Stop 10000, look in 1800000");
    EXPECT_EQ(rig.tray.view.tooltip, NudgingTooltip(10000, "17:30"));
    rig.controller.OnStartStopClicked();
    EXPECT_EQ(rig.session(), "Go 0, look in 0");
    EXPECT_EQ(rig.tray.view.tooltip, StoppedTooltip({}));
    choose(TrayCommand::Go);
    choose(TrayCommand::RunFor, minutes(120));
    EXPECT_EQ(rig.session(), "Stop 10000, look in 7200000");
    choose(TrayCommand::RunFor, minutes(60));
    EXPECT_EQ(choose(TrayCommand::ShowWindow), TrayAction::ShowWindow);
    EXPECT_EQ(choose(TrayCommand::Exit), TrayAction::Exit);
    EXPECT_EQ(rig.session(), "Stop 10000, look in 3600000") << "showing and exiting are the front-end's";
    EXPECT_EQ(choose(TrayCommand::RunUntilStopped), TrayAction::Handled);
    EXPECT_EQ(rig.session(), "Stop 10000, look in 0");
    EXPECT_EQ(rig.tray.view.tooltip, NudgingTooltip(10000, {}));
    rig.FireAfter(3 * 3600);  // a late firing changes nothing
    EXPECT_EQ(rig.ticks(), "Stop 10000");
}

// A session ends while the menu is open: its first entry still says what it
// said when the menu was shown, and does only that.
TEST(TrayTest, AnEntryDoesWhatItSaidWhenShown) {
    const struct {
        const char* start;
        bool clickFirst;  // the button flips the ticks while the menu is open
        TrayCommand shown;
        const char* after;
    } cases[] = {
        {"--for 10s", false, TrayCommand::Stop, "Go 0, look in 0"},  // the session ended: Stop leaves them stopped
        {"", true, TrayCommand::Stop, "Go 0, look in 0"},
        {"", false, TrayCommand::Stop, "Go 0, look in 0"},
        {"", true, TrayCommand::Go, "Stop 10000, look in 0"},
        {"", false, TrayCommand::Go, "Stop 10000, look in 0"},
    };
    for (const auto& c : cases) {
        Rig rig(c.start);
        if (c.shown == TrayCommand::Go) rig.controller.OnStartStopClicked();
        const TrayMenuEntry shown = rig.Entry(c.shown);
        if (c.clickFirst) rig.controller.OnStartStopClicked();
        if (*c.start) rig.FireAfter(10);
        rig.controller.OnTrayEntryChosen(shown);
        EXPECT_EQ(rig.session(), c.after) << c.start << " " << c.clickFirst << " " << shown.text;
        EXPECT_EQ(rig.tray.view, rig.controller.Tray()) << "the icon shows the state after the choice";
    }
}

TEST(TrayTest, TheStoppedLookIsOneGreyOnEveryPlatform) {
    // Both front-ends draw these exact greys: black and white span the range, see-through stays so.
    const std::pair<Rgba, Rgba> exact[] = {{{0, 0, 0, 255}, {96, 96, 96, 170}},
                                           {{255, 255, 255, 255}, {255, 255, 255, 170}},
                                           {{16, 128, 255, 90}, {163, 163, 163, 60}},
                                           {{10, 20, 30, 0}, {107, 107, 107, 0}}};
    for (const auto& [pixel, grey] : exact) EXPECT_EQ(StoppedLook(pixel), grey) << int{pixel.red};
}

TEST(TrayTest, TheTooltipGivesTheIntervalInSeconds) {
    const std::pair<int, const char*> cases[] = {
        {10000, " 10 s"}, {4500, " 4.5 s"}, {4050, " 4.05 s"}, {3001, " 3.001 s"}, {32767, " 32.767 s"}};
    for (const auto& [milliseconds, seconds] : cases) {
        EXPECT_NE(NudgingTooltip(milliseconds, {}).find(seconds), std::string::npos) << milliseconds;
    }
    EXPECT_NE(NudgingTooltip(10000, "17:30").find("17:30"), std::string::npos);
}

}  // namespace
}  // namespace nudgewick::testing
