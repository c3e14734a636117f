#include "core/command_channel.h"
#include "fakes.h"

namespace nudgewick::testing {
namespace {

using namespace std::string_literals;

// What the running copy takes, and how it leaves the copy: the ticks and the
// boxes, the front-end's jobs, the exit status and whether the answer is the
// status line (S), the whole tooltip (T) or neither (-).
TEST(CommandChannelTest, TheRunningCopyTakesACommandLineAsAtItsOwnStart) {
    const struct {
        const char* line;
        bool stopped;  // by a click first
        const char *after, *jobs;
        int exitCode;
        char answer;
    } cases[] = {
        {"", false, "Stop 5000 5000 7, look in 0", "present", 0, '-'},
        {" ", true, "Go 0 5000 7, look in 0", "present", 0, '-'},
        {"--toggle", false, "Go 0 5000 7, look in 0", "", 0, 'T'},
        {"--toggle", true, "Stop 5000 5000 7, look in 0", "", 0, 'T'},
        {"--stop", true, "Go 0 5000 7, look in 0", "", 0, 'T'},
        {"--go", false, "Stop 5000 5000 7, look in 0", "", 0, 'T'},
        {"--go", true, "Stop 5000 5000 7, look in 0", "", 0, 'T'},
        {"--status", false, "Stop 5000 5000 7, look in 0", "", 0, 'S'},
        {"--status", true, "Go 0 5000 7, look in 0", "", kStoppedStatus, 'S'},
        {"--quit", false, "Stop 5000 5000 7, look in 0", "quit", 0, '-'},
        {"4000", true, "Stop 4000 4000 0, look in 0", "", 0, 'T'},  // as at a start: no distance, 0
        {"2000 -9 x", false, "Stop 3000 3000 -9, look in 0", "", 0, 'T'},
        {"--for 1m", true, "Stop 5000 5000 7, look in 60000", "", 0, 'T'},
        {"--until 17:30 --minimized", false, "Stop 5000 5000 7, look in 60000", "hide", 0, 'T'},
        {"--hotkey ctrl+alt+n", false, "Stop 5000 5000 7, look in 0", "hotkey", 0, 'T'},
        {"--hours 09:00-12:00", false, "Go 0 5000 7, look in 0", "", 0, 'T'},  // at 17:00 on a Friday
        {"--hours 16:00-18:00", true, "Stop 5000 5000 7, look in 0", "", 0, 'T'},
        {"--days fri 3000 1", true, "Stop 3000 3000 1, look in 0", "", 0, 'T'},
        {"--days sat --for 1h", false, "Stop 5000 5000 7, look in 3600000", "", 0, 'T'},  // the session first
    };
    for (const auto& c : cases) {
        Rig rig("5000 7");
        if (c.stopped) rig.controller.OnStartStopClicked();
        const auto given = ReadHandedOver(c.line);
        ASSERT_TRUE(given) << c.line;
        const CommandJobs jobs = rig.controller.OnCommandLine(*given);
        const auto answer = rig.controller.AnswerTo(*given);
        const std::string boxes = " " + rig.intervalBox.text + " " + rig.pixelsBox.text;
        EXPECT_EQ(rig.ticks() + boxes + rig.session().substr(rig.ticks().size()), c.after) << c.line;
        std::string done = (jobs.present ? "present"s : "") + (jobs.hide ? "hide" : "") + (jobs.quit ? "quit" : "");
        EXPECT_EQ(done + (jobs.hotkey ? "hotkey" : ""), c.jobs) << c.line;
        EXPECT_EQ(answer.exitCode, c.exitCode) << c.line;
        const std::string& tooltip = rig.tray.view.tooltip;
        const bool statusLine = tooltip.ends_with(answer.text.substr(0, answer.text.size() - 1));
        EXPECT_EQ(statusLine && answer.text != tooltip + "\n" ? 'S'
                  : answer.text == tooltip + "\n"             ? 'T'
                                                              : '-',
                  c.answer)
            << c.line << ": " << answer.text;
        EXPECT_EQ(rig.tray.view, rig.controller.Tray()) << c.line;
    }
}

// The status is one line, whatever notes the tooltip adds; a new hotkey drops the note; new hours are
// followed, though the old ones were not.
TEST(CommandChannelTest, TheStatusIsTheTooltipsFirstLine) {
    Rig rig("--hotkey ctrl+alt+n --hours 09:00-12:00");
    rig.controller.OnTrayEntryChosen(rig.Entry(TrayCommand::FollowWorkHours));
    rig.controller.OnHotkeyUnavailable();
    const auto status = *ReadHandedOver("--status");
    const std::string tooltip = rig.tray.view.tooltip;
    EXPECT_NE(tooltip.find('\n'), std::string::npos);
    EXPECT_EQ(rig.controller.AnswerTo(status).text, tooltip.substr(tooltip.find(' ') + 1, tooltip.find('\n') - 10));
    rig.controller.OnCommandLine(*ReadHandedOver("--hotkey ctrl+alt+m"));
    EXPECT_EQ(rig.tray.view.tooltip.find('\n'), std::string::npos) << rig.tray.view.tooltip;
    rig.controller.OnCommandLine(*ReadHandedOver("--hours 16:00-18:00"));
    EXPECT_EQ(rig.Entry(TrayCommand::FollowWorkHours).checked, true);
}

// Anything else is not taken: too long, not text, or nothing a start would run with.
TEST(CommandChannelTest, OnlyTextThatAStartRunsWithIsTaken) {
    const std::pair<std::string, bool> cases[] = {
        {"5000\t7 \xc3\xa9", true},
        {std::string(kLongestCommandLine, ' '), true},
        {std::string(kLongestCommandLine + 1, ' '), false},
        {"--for 1h\n", false},
        {"5000\0 7"s, false},
        {"5000 7 \xff", false},
        {"5000 7 \xc3", false},              // cut short
        {"5000 7 \xc0\xa0", false},          // an overlong blank
        {"5000 7 \xed\xa0\x80", false},      // a surrogate
        {"5000 7 \xf4\x90\x80\x80", false},  // above U+10FFFF
        {"fast", false},
        {"--help", false},
        {"--version", false},
        {"--check", false},
        {"--stop --go", false},
    };
    for (const auto& [bytes, taken] : cases) EXPECT_EQ(ReadHandedOver(bytes).has_value(), taken) << bytes;
}

TEST(CommandChannelTest, Utf16IsReadStrictly) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"5\0 \0"s, "5 "},
        {"\xe9\0\xac\x20"s, "\xc3\xa9\xe2\x82\xac"},  // é€
        {"\x3d\xd8\x00\xde"s, "\xf0\x9f\x98\x80"},    // a pair
        {"5\0 "s, std::nullopt},                      // odd
        {"\x00\xde"s, std::nullopt},                  // a low surrogate alone
        {"\x3d\xd8"s, std::nullopt},                  // a high one at the end
        {"\x3d\xd8\x35\x00"s, std::nullopt},          // a high one before a digit
        {"\xe9\0\xe9\0\xe9\0"s, std::nullopt},        // longer than 5 bytes of UTF-8
        {std::string(12, ' '), std::nullopt},         // longer than twice 5 bytes
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(Utf8FromUtf16(bytes, 5), text) << text.value_or("-");
}

TEST(CommandChannelTest, AnswersTravelWithinTheirLimits) {
    const std::pair<Command, std::optional<int>> withoutCopy[] = {
        {Command::Start, {}}, {Command::Toggle, {}}, {Command::Go, {}},
        {Command::Stop, 0},   {Command::Quit, 0},    {Command::Query, kStoppedStatus}};
    for (const auto& [command, status] : withoutCopy) {
        const auto answer = AnswerWithoutCopy(command);
        EXPECT_EQ(answer ? std::optional(answer->exitCode) : std::nullopt, status) << int(command);
        if (answer) {
            EXPECT_EQ(ReadAnswer(WriteAnswer(*answer)), *answer);
        }
    }
    const auto late = ReadAnswer(std::nullopt), refused = ReadAnswer("");
    EXPECT_EQ(late.exitCode + refused.exitCode, 2);
    EXPECT_NE(late.text, refused.text);
    for (const std::string& bytes :
         {"x stopped\n"s, "0stopped\n"s, "0 \x1b[2J"s, "3 \xff"s, "0 " + std::string(kLongestAnswer - 1, 'a')}) {
        EXPECT_EQ(ReadAnswer(bytes), refused) << bytes;
    }
    EXPECT_EQ(ReadAnswer("3 " + std::string(kLongestAnswer - 3, 'a') + "\n").exitCode, kStoppedStatus);
}

}  // namespace
}  // namespace nudgewick::testing
