#include "core/command_channel.h"
#include "fakes.h"

namespace nudgewick::testing {
namespace {

using namespace std::string_literals;

// The copy after a command line handed over ("!": stopped by a click before), as "TICKS BOXES, SESSION; WINDOW'S
// JOBS; STATUS ANSWER", the answer the status line (S), the whole tooltip (T) or neither (-).
TEST(CommandChannelTest, TheRunningCopyTakesACommandLineAsAtItsOwnStart) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "Stop 5000 5000 7, look in 0; present ; 0 -"},
        {"! ", "Go 0 5000 7, look in 0; present ; 0 -"},
        {"--toggle", "Go 0 5000 7, look in 0; ; 0 T"},
        {"!--toggle", "Stop 5000 5000 7, look in 0; ; 0 T"},
        {"--stop", "Go 0 5000 7, look in 0; ; 0 T"},  // never the other way, as the menu's Stop and Go
        {"!--go", "Stop 5000 5000 7, look in 0; ; 0 T"},
        {"--status", "Stop 5000 5000 7, look in 0; ; 0 S"},
        {"!--status", "Go 0 5000 7, look in 0; ; 3 S"},
        {"--quit", "Stop 5000 5000 7, look in 0; close released; 0 -"},
        {"!4000", "Stop 4000 4000 0, look in 0; ; 0 T"},  // as at a start: no distance, 0
        {"!--for 1m", "Stop 5000 5000 7, look in 60000; ; 0 T"},
        {"--until 17:30 --minimized", "Stop 5000 5000 7, look in 60000; hide ; 0 T"},
        {"--hotkey ctrl+alt+n", "Stop 5000 5000 7, look in 0; hotkey ; 0 T"},
        {"--hours 09:00-12:00", "Go 0 5000 7, look in 0; ; 0 T"},  // at 17:00 on a Friday
        {"!--hours 16:00-18:00", "Stop 5000 5000 7, look in 0; ; 0 T"},
        {"!--days fri 2000 1", "Stop 3000 3000 1, look in 0; ; 0 T"},
        {"--days sat --for 1h", "Stop 5000 5000 7, look in 3600000; ; 0 T"},  // the session first
        {"!--pid 1234", "Stop 5000 5000 7, look in 0; ; 0 T"},
        {"!--while zoom --pid 99 4000", "Go 0 5000 7, look in 0; ; 2 -"},  // no such process: nothing taken
        {"!--while zoom", "Stop 5000 5000 7, look in 0; ; 0 T"},
    };
    for (const auto& [line, after] : cases) {
        FakeWindow window("5000 7");
        FakeShell shell;
        Rig& rig = window.rig;
        if (line[0] == '!') rig.controller.OnStartStopClicked();
        const auto sent = TakeCommandLine(line + (line[0] == '!'), window, shell, shell);
        ASSERT_TRUE(sent) << line;
        const CommandAnswer answer = ReadAnswer(sent);
        const std::string tip = rig.tray.view.tooltip + "\n";
        const char kind = answer.text == tip ? 'T' : tip.ends_with(answer.text) ? 'S' : '-';
        EXPECT_EQ(rig.ticks() + " " + rig.intervalBox.text + " " + rig.pixelsBox.text +
                      rig.session().substr(rig.ticks().size()) + "; " + window.jobs +
                      (shell.released ? "released" : "") + "; " + std::to_string(answer.exitCode) + " " + kind,
                  after)
            << line << ": " << answer.text;
        EXPECT_EQ(rig.tray.view, rig.controller.Tray()) << line;
    }
}

// The status is the tooltip's first line, without the notes after it; a new hotkey drops the note; new hours
// are followed, though the old ones were not.
TEST(CommandChannelTest, TheStatusIsTheTooltipsFirstLine) {
    Rig rig("--hotkey ctrl+alt+n --hours 09:00-12:00");
    rig.Choose(TrayCommand::FollowWorkHours);
    const std::string said = rig.controller.OnHotkeyRefused(HotkeyRefusal::Unavailable);  // names the way round
    EXPECT_TRUE(said.ends_with('\n') && said.find("--toggle") != std::string::npos &&
                said.find("ctrl+alt+n") == std::string::npos)
        << said;
    rig.controller.OnHotkeyOutcome({std::nullopt, "Ctrl+Alt+N"});  // the desktop's shortcut, in its words
    EXPECT_NE(rig.tray.view.tooltip.find("Ctrl+Alt+N"), std::string::npos) << rig.tray.view.tooltip;
    const std::string no = rig.controller.OnHotkeyOutcome({HotkeyRefusal(HotkeyRefusal::Unavailable, "why"), {}});
    EXPECT_TRUE(no.find("ctrl+alt+n") < no.find("why") && no.find("--toggle") != std::string::npos) << no;
    const std::string tip = rig.tray.view.tooltip, status = rig.controller.AnswerTo(*ReadHandedOver("--status")).text;
    EXPECT_TRUE(tip.find('\n') + 1 < tip.size() && tip.find(status) + status.size() == tip.find('\n') + 1) << status;
    rig.controller.OnCommandLine(*ReadHandedOver("--hotkey ctrl+alt+m --hours 16:00-18:00"));
    EXPECT_EQ(rig.tray.view.tooltip.find('\n'), std::string::npos) << rig.tray.view.tooltip;
    EXPECT_EQ(rig.Entry(TrayCommand::FollowWorkHours).checked, true);
}

// Anything else is not taken: too long, not text, or nothing a start would run with.
TEST(CommandChannelTest, OnlyTextThatAStartRunsWithIsTaken) {
    // A tab and each UTF-8 length's first character and the last, up to the longest line.
    for (const std::string& bytes : {"5000\t7 \xc3\xa9"s, std::string(kLongestCommandLine, ' '),
                                     "5000 7 \xc2\x80\xe0\xa0\x80\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"s})
        EXPECT_TRUE(ReadHandedOver(bytes)) << bytes;
    // A byte that leads nothing, or five, a continuation byte alone, a lead byte without one, the last surrogate,
    // an overlong blank, a surrogate, a NUL, and lines a start runs on its own.
    for (const std::string& bytes :
         {std::string(kLongestCommandLine + 1, ' '), "5000 7 \xff"s, "5000 7 \xf8\x90\x80\x80"s, "5000 7 \x80"s,
          "5000 7 \xc3("s, "5000 7 \xed\xbf\xbf"s, "5000 7 \xc0\xa0"s, "5000 7 \xed\xa0\x80"s, "5000\0 7"s, "--help"s,
          "--check"s, "-- make"s})
        EXPECT_FALSE(ReadHandedOver(bytes)) << bytes;
}

TEST(CommandChannelTest, Utf16IsReadStrictly) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"\xe9\0\x3d\xd8\x00\xde"s, "\xc3\xa9\xf0\x9f\x98\x80"},  // é and a pair
        {"a\0\x80\0"s, "a\xc2\x80"},                              // each length's first code
        {"\x00\x08\x00\xe0"s, "\xe0\xa0\x80\xee\x80\x80"},        // and the first after the surrogates
        {"\x00\xd8\x00\xdc"s, "\xf0\x90\x80\x80"},                // the first pair
        {"\xff\xdb\xff\xdf"s, "\xf4\x8f\xbf\xbf"},                // the last
        {"a\0b\0c\0d\0e\0f\0"s, "abcdef"},                        // 6 bytes of UTF-8
        {"5\0 "s, {}},                                            // odd
        {"\x00\xde"s, {}},                                        // a low surrogate alone
        {"\x3d\xd8\x35\x00"s, {}},                                // a high one before a digit
        {"a\0\x3d\xd8"s, {}},                                     // or last
        {"\xe9\0\xe9\0\xe9\0\xe9\0"s, {}},                        // longer than 6 bytes of UTF-8
    };
    for (const auto& [bytes, text] : cases)  // a low surrogate after the bytes is not theirs
        EXPECT_EQ(Utf8FromUtf16(std::string_view(bytes + "\0\xdc"s).substr(0, bytes.size()), 6), text) << bytes;
}

// The answers travel, and what is no answer fails with status 1.
TEST(CommandChannelTest, AnswersTravelWithinTheirLimits) {
    using Bytes = std::optional<std::string>;
    for (const Bytes& bytes : {Bytes(), Bytes(""), Bytes("0stopped\n"), Bytes(": x"), Bytes("0 \x1b[2J"),
                               Bytes("3 \xff"), Bytes("0 " + std::string(kLongestAnswer - 1, 'a'))})
        EXPECT_EQ(ReadAnswer(bytes).exitCode, 1) << bytes.value_or("-");
    EXPECT_NE(ReadAnswer({}).text, ReadAnswer("").text) << "no answer is told apart from a wrong one";
    const std::string longest(kLongestAnswer - 2, 'a');
    const std::pair<std::string, CommandAnswer> answers[] = {
        {"0 ", {0, ""}}, {"9 a\tb\n", {9, "a\tb\n"}}, {"3 " + longest, {3, longest}}};
    for (const auto& [bytes, answer] : answers) EXPECT_EQ(ReadAnswer(bytes), answer) << bytes;
}

}  // namespace
}  // namespace nudgewick::testing
