#include <gtest/gtest.h>

#include "fakes.h"
#include "window/launch_command.h"

namespace nudgewick::testing {
namespace {

using Words = std::vector<std::string>;

TEST(FormLoadTest, EmptyCommandLineUsesTheDefaults) {
    Rig rig;
    EXPECT_EQ(rig.txtInterval.text, "10000");
    EXPECT_EQ(rig.txtPixels.text, "3");
    EXPECT_EQ(rig.btoGO.caption, "Stop");
    EXPECT_EQ(rig.Timer1.interval, 10000);
    EXPECT_TRUE(rig.Timer1.Ticking());
    EXPECT_EQ(rig.state().x, 0);
}

TEST(FormLoadTest, SettingsComeFromTheCommandLine) {
    const struct {
        const char* text;
        const char* interval;
        const char* pixels;
    } cases[] = {
        {"5000 7", "5000", "7"},
        {"1000 7", "3000", "7"},  // raised to the floor without a message
        {"5000", "5000", "0"},    // an absent word leaves its setting at 0
        {" \t5000\t\t  7 \t", "5000", "7"},
        {"5000 7 1 2 3 4 5 6 7 8 9 10", "5000", "7"},
        {"4000 -5", "4000", "-5"},
    };
    for (const auto& c : cases) {
        Rig rig(c.text);
        EXPECT_EQ(rig.txtInterval.text, c.interval) << c.text;
        EXPECT_EQ(rig.txtPixels.text, c.pixels) << c.text;
        EXPECT_EQ(rig.Timer1.interval, std::stoi(c.interval)) << c.text;
        EXPECT_TRUE(rig.messages.shown.empty()) << c.text;
    }
}

TEST(FormLoadTest, BlankOnlyCommandLineLeavesEverythingAtZero) {
    Rig rig(" \t ");
    EXPECT_EQ(rig.txtInterval.text, "0");
    EXPECT_EQ(rig.txtPixels.text, "0");
    EXPECT_EQ(rig.btoGO.caption, "Stop");
    EXPECT_FALSE(rig.Timer1.Ticking());
}

TEST(FormLoadTest, GetCommandLineReadsTheCommandLine) {
    Rig rig("a b c");
    EXPECT_EQ(rig.form.GetCommandLine(2), (Words{"", "a", "b"}));
    EXPECT_EQ(rig.form.GetCommandLine(), (Words{"", "a", "b", "c"}));
}

TEST(StartStopButtonTest, StopsAndResumesByTheTimersInterval) {
    Rig rig;
    rig.form.btoGO_Click();
    EXPECT_EQ(rig.Timer1.interval, 0);
    EXPECT_EQ(rig.btoGO.caption, "Go");
    rig.form.btoGO_Click();
    EXPECT_EQ(rig.Timer1.interval, 10000);
    EXPECT_EQ(rig.btoGO.caption, "Stop");
    EXPECT_TRUE(rig.Timer1.enabled);
}

TEST(StartStopButtonTest, PhaseAndHistorySurviveAStop) {
    Rig rig("3000 3");
    rig.pointer.at = {0, 100};  // column 0 matches the empty history
    rig.form.Timer1_Timer();
    const WindowState before = rig.state();
    ASSERT_EQ(before.x, 5);
    rig.form.btoGO_Click();
    rig.form.btoGO_Click();
    EXPECT_EQ(rig.state().x, before.x);
    EXPECT_EQ(rig.state().Lastx, before.Lastx);
    rig.form.Timer1_Timer();
    EXPECT_EQ(rig.pointer.moves, (std::vector<std::int32_t>{3, -3}));
}

TEST(StartStopButtonTest, ResumeUsesTheLatestInterval) {
    Rig rig;
    rig.form.btoGO_Click();
    rig.txtInterval.text = "4500";
    rig.form.txtInterval_LostFocus();  // resumes the ticks, caption stays "Go"
    EXPECT_EQ(rig.Timer1.interval, 4500);
    EXPECT_EQ(rig.btoGO.caption, "Go");
    rig.form.btoGO_Click();  // finds the ticks running, so stops them
    EXPECT_EQ(rig.Timer1.interval, 0);
    EXPECT_EQ(rig.btoGO.caption, "Go");
    rig.form.btoGO_Click();
    EXPECT_EQ(rig.Timer1.interval, 4500);
    EXPECT_EQ(rig.btoGO.caption, "Stop");
}

TEST(StartStopButtonTest, ZeroIntervalFromABlankCommandLineNeverStarts) {
    Rig rig("  ");
    for (int click = 0; click < 3; ++click) {
        rig.form.btoGO_Click();
        EXPECT_EQ(rig.Timer1.interval, 0);
        EXPECT_EQ(rig.btoGO.caption, "Stop");
    }
}

struct IntervalBoxTest : ::testing::Test {
    Rig rig{"5000 7"};
    void Leave(const char* text) {
        rig.txtInterval.text = text;
        rig.Timer1.interval = 1;  // the handler must always hand the timer nInterval
        rig.form.txtInterval_LostFocus();
    }
};

TEST_F(IntervalBoxTest, BelowTheFloorIsRefusedWithTheMessageFirst) {
    for (const char* text : {"2500", "2999.7", "-5", "-99999"}) {
        rig.messages.shown.clear();
        rig.messages.boxTextWhenShown.clear();
        Leave(text);
        EXPECT_EQ(rig.messages.shown, Words{"You must pick a value greater than 3000."}) << text;
        EXPECT_EQ(rig.messages.boxTextWhenShown, Words{text});  // box rewritten only after
        EXPECT_EQ(rig.txtInterval.text, "3000");
        EXPECT_EQ(rig.state().nInterval, 3000);
        EXPECT_EQ(rig.Timer1.interval, 3000);
    }
}

TEST_F(IntervalBoxTest, AcceptedValuesRoundTiesToEvenWithoutAMessage) {
    const std::pair<const char*, int> cases[] = {
        {"3000", 3000}, {"4500.5", 4500}, {"4501.5", 4502}, {"32767", 32767}, {" 6000 ", 6000}};
    for (const auto& [text, expected] : cases) {
        Leave(text);
        EXPECT_EQ(rig.state().nInterval, expected) << text;
        EXPECT_EQ(rig.Timer1.interval, expected) << text;
        EXPECT_EQ(rig.txtInterval.text, text);  // the box keeps what the user typed
    }
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_EQ(rig.btoGO.caption, "Stop");
}

TEST_F(IntervalBoxTest, NotANumberRestoresTheIntervalInForce) {
    for (const char* text : {"", "soon", "12abc"}) {
        Leave(text);
        EXPECT_EQ(rig.txtInterval.text, "5000") << text;
        EXPECT_EQ(rig.state().nInterval, 5000);
        EXPECT_EQ(rig.Timer1.interval, 5000);
    }
    EXPECT_EQ(rig.messages.shown, Words(3, kIntervalMessage));
    EXPECT_EQ(rig.state().nPixels, 7);
}

TEST_F(IntervalBoxTest, AboveTheRangeIsCappedWithAMessage) {
    for (const char* text : {"40000", "32767.5", "99999999999999999999"}) {
        Leave(text);
        EXPECT_EQ(rig.txtInterval.text, "32767") << text;
        EXPECT_EQ(rig.state().nInterval, 32767);
        EXPECT_EQ(rig.Timer1.interval, 32767);
    }
    EXPECT_EQ(rig.messages.shown, Words(3, kIntervalMessage));
}

TEST_F(IntervalBoxTest, UnchangedTextStillReappliesTheInterval) {
    rig.form.btoGO_Click();
    rig.form.txtInterval_LostFocus();
    EXPECT_EQ(rig.Timer1.interval, 5000);
    EXPECT_EQ(rig.btoGO.caption, "Go");
}

TEST(PixelsBoxTest, TakesAnyWholeNumberAndLeavesTheTimerAlone) {
    Rig rig("5000 7");
    rig.txtPixels.text = "-5";
    rig.Timer1.interval = 1234;
    rig.form.txtPixels_LostFocus();
    EXPECT_EQ(rig.state().nPixels, -5);
    EXPECT_EQ(rig.Timer1.interval, 1234);
    EXPECT_TRUE(rig.messages.shown.empty());

    rig.pointer.at = {0, 100};
    rig.form.Timer1_Timer();
    rig.form.Timer1_Timer();
    EXPECT_EQ(rig.pointer.moves, (std::vector<std::int32_t>{-5, 5}));
}

TEST(PixelsBoxTest, BadTextKeepsTheDistanceAndShowsItAgain) {
    Rig rig("5000 7");
    for (const char* text : {"", "far", "40000", "-32769"}) {
        rig.txtPixels.text = text;
        rig.form.txtPixels_LostFocus();
        EXPECT_EQ(rig.state().nPixels, 7) << text;
        EXPECT_EQ(rig.txtPixels.text, "7") << text;
    }
    EXPECT_EQ(rig.messages.shown, Words(4, kPixelsMessage));
}

TEST(WebLinkTest, EachClickOpensTheAddressTheLabelShows) {
    Rig rig;
    rig.lblURL.caption = "https://nudgewick.example/";
    rig.form.lblURL_Click();
    rig.form.lblURL_Click();
    EXPECT_EQ(rig.launcher.opened, Words(2, "https://nudgewick.example/"));
    EXPECT_TRUE(rig.messages.shown.empty());
}

TEST(WebLinkTest, FailedLaunchSaysSoNamingTheAddress) {
    Rig rig;
    rig.lblURL.caption = "https://nudgewick.example/";
    rig.launcher.failure = "No such file or directory";
    rig.form.lblURL_Click();
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_NE(rig.messages.shown[0].find("https://nudgewick.example/"), std::string::npos);
    EXPECT_NE(rig.messages.shown[0].find("No such file or directory"), std::string::npos);
    EXPECT_EQ(rig.state().nInterval, 10000);
}

TEST(WindowsLaunchCommandTest, QuotesStartAndTheAddress) {
    EXPECT_EQ(CmdStartCommandLine("https://nudgewick.example/"), "cmd /c \"Start https://nudgewick.example/\"");
}

TEST(WindowsLaunchCommandTest, RefusesAddressesCmdWouldInterpret) {
    EXPECT_TRUE(IsPlainAddress("https://nudgewick.example/a?b=c#d"));
    for (const char* address :
         {"", "https://x.example/&calc", "a|b", "a<b", "a>b", "a^b", "%PATH%", "a\"b", "a b", "a\nb", "a\tb"}) {
        EXPECT_FALSE(IsPlainAddress(address)) << address;
    }
}

}  // namespace
}  // namespace nudgewick::testing
