#include <string_view>

#include "fakes.h"
#include "window/launch_command.h"
#include "window/layout.h"
#include "window/settings.h"

namespace nudgewick::testing {
namespace {

TEST(FormLoadTest, SettingsFromTheCommandLineOrTheDefaults) {
    const struct {
        const char *text, *boxes, *ticks;
    } cases[] = {
        // boxes: interval, then pixels
        {"", "10000 3", "Stop 10000"},
        {" \t ", "0 0", "Stop 0"},          // blank only: no word, both settings stay 0, no ticks
        {"1000 7", "3000 7", "Stop 3000"},  // raised to the floor without a message
        {"5000", "5000 0", "Stop 5000"},
        {" \t5000\t\t  -5 \t", "5000 -5", "Stop 5000"},
        {"5000 7 1 2 3 4 5 6 7 8 9 10", "5000 7", "Stop 5000"},
    };
    for (const auto& c : cases) {
        Rig rig(c.text);
        EXPECT_EQ(rig.txtInterval.text + " " + rig.txtPixels.text, c.boxes) << c.text;
        EXPECT_EQ(rig.ticks(), c.ticks) << c.text;
        EXPECT_TRUE(rig.messages.shown.empty()) << c.text;
    }
    Rig rig("5000 7 9");
    EXPECT_EQ(rig.form.GetCommandLine(2), (Words{"", "5000", "7"}));
    EXPECT_EQ(rig.form.GetCommandLine(0), Words{""});
}

// The timer's interval, not the caption, decides; leaving the interval box
// resumes the ticks without touching the caption.
TEST(StartStopButtonTest, StopsAndResumesByTheTimersInterval) {
    Rig rig, blank("  ");
    rig.form.btoGO_Click();
    EXPECT_EQ(rig.ticks(), "Go 0");
    rig.form.txtInterval_LostFocus();
    EXPECT_EQ(rig.ticks(), "Go 10000") << "unchanged box left while stopped";
    rig.form.btoGO_Click();
    EXPECT_EQ(rig.ticks(), "Go 0") << "click after the box resumed the ticks";
    rig.txtInterval.text = "4500";
    rig.form.txtInterval_LostFocus();
    rig.form.btoGO_Click();
    rig.form.btoGO_Click();
    EXPECT_EQ(rig.ticks(), "Stop 4500") << "resumed with the latest interval";
    blank.form.btoGO_Click();
    EXPECT_EQ(blank.ticks(), "Stop 0") << "interval 0 never starts";
}

TEST(SettingsBoxTest, TakesTheValueOrSaysWhyNot) {
    // The pixels box or the interval box; the message shown, if any; the box's
    // text and both settings afterwards.
    const struct {
        bool pixels;
        const char* text;
        std::string message;
        const char *box, *settings;
    } cases[] = {
        {false, "2500", FloorMessage(), "3000", "3000 7"},
        {false, "2999.7", FloorMessage(), "3000", "3000 7"},  // below 3000 although it rounds to it
        {false, "3000", "", "3000", "3000 7"},
        {false, "4500.5", "", "4500.5", "4500 7"},  // ties to even; the box keeps what was typed
        {false, "32767", "", "32767", "32767 7"},
        {false, "32767.5", IntervalMessage(), "32767", "32767 7"},
        {false, "99999999999999999999", IntervalMessage(), "32767", "32767 7"},
        {false, "", IntervalMessage(), "5000", "5000 7"},  // not a number: the interval in force again
        {false, "12abc", IntervalMessage(), "5000", "5000 7"},
        {true, "-32768", "", "-32768", "5000 -32768"},
        {true, "32767.4", "", "32767.4", "5000 32767"},
        {true, "far", PixelsMessage(), "7", "5000 7"},
        {true, "32768", PixelsMessage(), "7", "5000 7"},
        {true, "-32769", PixelsMessage(), "7", "5000 7"},
    };
    for (const auto& c : cases) {
        Rig rig("5000 7");
        FakeTextBox& box = c.pixels ? rig.txtPixels : rig.txtInterval;
        box.text = c.text;
        rig.messages.box = &box;
        c.pixels ? rig.form.txtPixels_LostFocus() : rig.form.txtInterval_LostFocus();
        EXPECT_EQ(rig.messages.shown, c.message.empty() ? Words{} : Words{c.message}) << c.text;
        EXPECT_EQ(rig.messages.boxTextWhenShown, c.message.empty() ? Words{} : Words{c.text}) << "shown first";
        EXPECT_EQ(box.text, c.box) << c.text;
        const auto& state = rig.state();
        EXPECT_EQ(std::to_string(state.nInterval) + " " + std::to_string(state.nPixels), c.settings) << c.text;
        // Leaving the interval box always restarts the countdown; the pixels box leaves it alone.
        EXPECT_EQ(rig.timer.period, state.nInterval) << c.text;
        EXPECT_EQ(rig.timer.starts, c.pixels ? 1 : 2) << c.text;
    }
    EXPECT_EQ(FloorMessage() + IntervalMessage() + PixelsMessage(),
              "You must pick a value greater than 3000.The interval must be a number of milliseconds from 3000 to "
              "32767.The distance must be a number of pixels from -32768 to 32767.");
}

// A failure to start the opener, and one it reports later, say why in a sentence.
TEST(WebLinkTest, EachClickOpensTheAddressAndAFailureSaysWhy) {
    Rig rig;
    rig.form.lblURL_Click();
    rig.launcher.failure = "No such file or directory";
    rig.form.lblURL_Click();
    rig.form.OnLinkOpenFailed("The opener ended with status 3.");
    EXPECT_EQ(rig.launcher.opened, Words(2, "https://nudgewick.example/"));
    EXPECT_EQ(
        rig.messages.shown,
        (Words{"The web address https://nudgewick.example/ could not be opened: No such file or directory.",
               "The web address https://nudgewick.example/ could not be opened: The opener ended with status 3."}));
    EXPECT_EQ(CmdStartCommandLine("https://x.example/"), "cmd /c \"Start https://x.example/\"");
    EXPECT_TRUE(IsPlainAddress("https://nudgewick.example/a?b=c#d"));
    for (const char* bad : {"", "a&b", "a|b", "a<b", "a>b", "a^b", "%PATH%", "a\"b", "a b", "a\nb", "a\x7f"})
        EXPECT_FALSE(IsPlainAddress(bad)) << bad;
}

// Characters a third as wide as the size: "Interval (Milliseconds)", 23 of
// them, is 99 pixels wide at size 13, exactly the room its 105 pixels leave at
// 96 dpi with an inset of 6.
TEST(LayoutTest, OnlyALabelThatDoesNotFitShrinks) {
    const auto third = [](const char* caption, int size) {
        return static_cast<int>(std::string_view(caption).size()) * size / 3;
    };
    const ControlLayout &interval = kControls[5], &pixels = kControls[6];
    EXPECT_EQ(LabelFontSize(interval, 16, 96, 6, third), 13);
    EXPECT_EQ(LabelFontSize(pixels, 16, 96, 6, third), 16);      // fits at the standard size
    EXPECT_EQ(LabelFontSize(interval, 16, 96, 99, third), 10);   // never fits: 10 px at 96 dpi
    EXPECT_EQ(LabelFontSize(interval, 24, 144, 99, third), 15);  // 7.5 points
}

}  // namespace
}  // namespace nudgewick::testing
