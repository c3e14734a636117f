#include "fakes.h"

namespace nudgewick::testing {
namespace {

using std::chrono::minutes;

TEST(TrayTest, TheMenuResumesAndTheButtonOrRunUntilStoppedEndsASession) {
    Rig rig;
    rig.Choose(TrayCommand::Stop);
    EXPECT_EQ(rig.Choose(TrayCommand::RunFor, minutes(30)), TrayAction::Handled);
    EXPECT_EQ(rig.session() + " " + rig.tray.view.tooltip,
              "Stop 10000, look in 1800000 " + NudgingTooltip(10000, "17:30"));
    rig.controller.OnStartStopClicked();
    EXPECT_EQ(rig.session() + " " + rig.tray.view.tooltip, "Go 0, look in 0 " + StoppedTooltip({}));
    rig.Choose(TrayCommand::Go);
    rig.Choose(TrayCommand::RunFor, minutes(120));
    EXPECT_EQ(rig.session(), "Stop 10000, look in 7200000");
    rig.Choose(TrayCommand::RunFor, minutes(60));
    EXPECT_EQ(rig.Choose(TrayCommand::ShowWindow), TrayAction::ShowWindow);
    EXPECT_EQ(rig.Choose(TrayCommand::Exit), TrayAction::Exit);
    EXPECT_EQ(rig.session(), "Stop 10000, look in 3600000") << "showing and exiting are the front-end's";
    EXPECT_EQ(rig.Choose(TrayCommand::RunUntilStopped), TrayAction::Handled);
    EXPECT_EQ(rig.session() + " " + rig.tray.view.tooltip, "Stop 10000, look in 0 " + NudgingTooltip(10000, {}));
    rig.FireAfter(3 * 3600);  // a late firing changes nothing
    EXPECT_EQ(rig.ticks(), "Stop 10000");
    const int shows = rig.tray.shows;
    ChangedViews views(rig.tray);  // the icon hears only of changes
    for (const bool running : {true, true, false, false}) views.Show({running, "", {}});
    EXPECT_EQ(rig.tray.shows - shows, 2);
}

// A session ends while the menu is open: its first entry still says what it
// said when the menu was shown, and does only that.
TEST(TrayTest, AnEntryDoesWhatItSaidWhenShown) {
    // The command line; whether the button flips the ticks while the menu is
    // open; the entry shown; the ticks and the session's timer afterwards.
    const std::tuple<const char*, bool, TrayCommand, const char*> cases[] = {
        {"--for 10s", false, TrayCommand::Stop, "Go 0, look in 0"},  // the session ended: Stop leaves them stopped
        {"", true, TrayCommand::Stop, "Go 0, look in 0"},
        {"", false, TrayCommand::Stop, "Go 0, look in 0"},
        {"", true, TrayCommand::Go, "Stop 10000, look in 0"},
        {"", false, TrayCommand::Go, "Stop 10000, look in 0"},
    };
    for (const auto& [start, clickFirst, command, after] : cases) {
        Rig rig(start);
        if (command == TrayCommand::Go) rig.controller.OnStartStopClicked();
        const TrayMenuEntry shown = rig.Entry(command);
        if (clickFirst) rig.controller.OnStartStopClicked();
        if (*start) rig.FireAfter(10);
        rig.controller.OnTrayEntryChosen(shown);
        EXPECT_EQ(rig.session(), after) << start << " " << clickFirst << " " << shown.text;
        EXPECT_EQ(rig.tray.view, rig.controller.Tray()) << "the icon shows the state after the choice";
    }
}

// An image's bytes, red to alpha, pixel after pixel.
std::vector<std::uint8_t> Bytes(const std::vector<Rgba>& pixels) {
    std::vector<std::uint8_t> bytes;
    for (const Rgba& p : pixels) bytes.insert(bytes.end(), {p.red, p.green, p.blue, p.alpha});
    return bytes;
}

// Images of 16, 32 and 48 px, each of one colour: every size the panels ask for is drawn from the one that scales
// best, in colour or greyed; both front-ends draw the exact greys, black and white spanning the range.
TEST(TrayTest, TheIconScalesFromTheImageThatFitsBestInColourOrGrey) {
    const std::pair<Rgba, Rgba> greys[] = {{{0, 0, 0, 255}, {96, 96, 96, 170}},
                                           {{255, 255, 255, 255}, {255, 255, 255, 170}},
                                           {{16, 128, 255, 90}, {163, 163, 163, 60}},
                                           {{10, 20, 30, 0}, {107, 107, 107, 0}}};
    for (const auto& [pixel, grey] : greys) EXPECT_EQ(StoppedLook(pixel), grey) << int{pixel.red};
    const Rgba red{255, 0, 0, 2}, green{0, 255, 0, 255}, blue{0, 0, 255, 255};  // red nearly see-through
    const auto small = Bytes(std::vector(16 * 16, red)), middle = Bytes(std::vector(32 * 32, green)),
               large = Bytes(std::vector(48 * 48, blue));
    const IconImage images[] = {{32, middle.data()}, {48, large.data()}, {16, small.data()}};
    const std::pair<int, Rgba> cases[] = {{8, red},    {16, red},  {22, green}, {24, green},
                                          {32, green}, {48, blue}, {64, blue}};
    for (const auto& [side, colour] : cases)
        for (const bool running : {true, false})
            EXPECT_EQ(IconLook(images, running, side),
                      std::vector<Rgba>(static_cast<std::size_t>(side * side), running ? colour : StoppedLook(colour)))
                << side << " " << running;
    // A pixel the picture covers in part keeps the picture's colour, and only its alpha tells the coverage: no
    // colour is lost to premultiplying and back.
    const Rgba ink{10, 200, 31, 255}, clear{0, 0, 0, 0}, half{10, 200, 31, 128};
    const auto bytes = Bytes({ink, ink, clear, clear, ink, ink, clear, clear, ink, ink, clear, clear, ink, ink, clear,
                              clear});  // 4 x 4, the left half covered
    const IconImage image{4, bytes.data()};
    EXPECT_EQ(IconLook({&image, 1}, true, 3),
              (std::vector<Rgba>{ink, half, clear, ink, half, clear, ink, half, clear}));
    EXPECT_EQ(IconLook({&image, 1}, true, 1), std::vector<Rgba>{half});
}

// A 1920 x 1080 screen with a 40 px panel at one of its edges, a 22 px icon in
// it and a menu of 150 x 200: the menu's top-left corner.
TEST(TrayTest, TheIconsMenuOpensBesideItInsideTheWorkArea) {
    const Extent menu{150, 200};
    const std::tuple<const char*, Rect, Rect, ScreenPoint> cases[] = {
        {"bottom panel: above, 4 px clear", {300, 1049, 22, 22}, {0, 0, 1920, 1040}, {300, 836}},
        {"just below the middle, right: above", {1890, 550, 22, 22}, {0, 40, 1920, 1040}, {1770, 350}},
        {"top panel: below", {300, 9, 22, 22}, {0, 40, 1920, 1040}, {300, 40}},
        {"in the middle, left: below", {10, 549, 22, 22}, {0, 40, 1920, 1040}, {10, 571}},
        {"left panel: to the right", {18, 500, 22, 22}, {40, 0, 1880, 1080}, {40, 500}},
        {"right panel: to the left", {1880, 500, 22, 22}, {0, 0, 1880, 1080}, {1730, 500}},
        {"right panel, bottom corner", {1889, 1050, 22, 22}, {0, 0, 1880, 1080}, {1730, 876}},
        {"a work area smaller than the menu", {10, 110, 22, 22}, {0, 0, 100, 100}, {0, 0}},
    };
    for (const auto& [why, icon, area, place] : cases) EXPECT_EQ(MenuPlace(icon, area, menu, 4), place) << why;
}

// --minimized hides the window behind an icon that shows, else iconifies it; a plain start shows it either way.
TEST(TrayTest, AMinimizedStartStaysWithinReach) {
    using enum WindowShowing;
    EXPECT_EQ(std::vector({ShowingAtStart(true, true), ShowingAtStart(true, false), ShowingAtStart(false, true),
                           ShowingAtStart(false, false)}),
              std::vector({Hidden, Iconified, Normal, Normal}));
}

TEST(TrayTest, TheTooltipGivesTheIntervalInSecondsAndTheSessionsEnd) {
    for (const auto& [milliseconds, seconds] :
         {std::pair(10000, " 10 s"), {4500, " 4.5 s"}, {4050, " 4.05 s"}, {3001, " 3.001 s"}, {32767, " 32.767 s"}})
        EXPECT_NE(NudgingTooltip(milliseconds, {}).find(seconds), std::string::npos) << milliseconds;
    EXPECT_NE(NudgingTooltip(10000, "17:30").find("17:30"), std::string::npos);
}

}  // namespace
}  // namespace nudgewick::testing
