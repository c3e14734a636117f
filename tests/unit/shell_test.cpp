#include "core/shell.h"
#include "fakes.h"

#include <set>

#include "core/hotkey.h"

namespace nudgewick::testing {
namespace {

// "STATUS; WHERE IT SPOKE; WHAT IT HANDED OVER (- for nothing); THE CLAIM AND THE WINDOW'S JOBS".
std::string Start(std::string_view line, FakeShell& shell) {
    const int status = RunProgram(shell, line);
    return std::to_string(status) + "; " + shell.said + "; " + shell.handedOver.value_or("-") + "; " +
           (shell.claimed ? "claimed " : "") + (shell.window ? shell.window->jobs : "");
}

// Each start with a copy running (+) or not, a console (c), someone who reads it (w), an answer (a), and a
// desktop out of reach (u), a window that cannot be made (x) or shown (f), or no way to nudge (n).
TEST(ShellTest, StartUpDecidesOnceWhatEachStartDoesAndSays) {
    // clang-format off
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"", "caw", "0; ; -; claimed show run "},
        {"", "+caw", "0; err ; ; "},  // a plain second start speaks only to someone who reads it
        {"", "+ca", "0; ; ; "}, {"", "+aw", "0; ; ; "}, {"4000 5", "+caw", "0; out ; 4000 5; "},
        {"--toggle", "+caw", "0; out ; --toggle; "}, {"--toggle", "caw", "0; ; -; claimed show run "},  // as --go
        {"--stop", "+c", "1; err ; --stop; "},  // no answer came
        {"--stop", "+", "1; box ; --stop; "}, {"--stop", "caw", "0; out ; -; "}, {"--quit", "ca", "0; out ; -; "},
        {"--status", "ca", "3; out ; -; "}, {"--status", "cau", "3; out ; -; "}, {"3000 5", "cau", "1; err ; -; "},
        {"3000 x", "caw", "2; err ; -; "}, {"3000 x", "aw", "2; box ; -; "}, {"--help", "+caw", "0; out ; -; "},
        {"--check", "+caw", "0; out ; -; "}, {"--check", "+awn", "1; box ; -; "},
        {"-- make", "+caw", "0; ; -; show run "},  // a copy of its own
        {"--pid 99", "caw", "2; err ; -; claimed "},
        {"--hotkey ctrl+alt+n", "caw", "0; ; -; claimed show hotkey run "}, {"", "caf", "1; box ; -; claimed show "},
        {"", "cax", "1; ; -; claimed "},
    };
    // clang-format on
    for (const auto& [line, setting, after] : cases) {
        FakeShell shell;
        const auto is = [s = std::string_view(setting)](char c) { return s.find(c) != std::string_view::npos; };
        shell.copyRuns = is('+'), shell.console = is('c'), shell.watched = is('w'), shell.canNudge = !is('n'),
        shell.opens = !is('x');
        if (!is('a')) shell.answer.reset();
        if (is('u')) shell.unreachable = "no desktop\n";
        if (is('f')) shell.showFailure = "no window";
        EXPECT_EQ(Start(line, shell), after) << line << " " << setting;
    }
}

// No channel once the window is done; a hotkey refused is said on standard error and in the tooltip, in its words.
TEST(ShellTest, TheRunningCopySaysWhyItHasNoHotkey) {
    FakeShell shell;
    EXPECT_EQ(Start("5000 7", shell), "0; ; -; claimed show run ");
    EXPECT_FALSE(shell.handle);
    shell.window->grab = HotkeyRefusal(HotkeyRefusal::Failed, "the system's words");
    const auto answer = TakeCommandLine("--hotkey ctrl+alt+n", *shell.window, shell, shell);
    EXPECT_NE(ReadAnswer(answer).text.find("the system's words"), std::string::npos);
    EXPECT_EQ(shell.said, "err ");
}

// --check in an X session: an open display adds its route and idle source, and the route depends on XTEST;
// the hotkey's line names its route, and without one how to bind --toggle instead.
TEST(ShellTest, AnX11SessionSaysHowItWouldNudge) {
    const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    EXPECT_EQ(lines(X11SessionCheckLines(":1", false, true)), 2);
    EXPECT_EQ(lines(X11SessionCheckLines(":1", true, true)), 3);
    EXPECT_NE(X11SessionCheckLines(":1", true, true), X11SessionCheckLines(":1", true, false));
    const std::set<std::string> hotkeyLines{HotkeyCheckLine(HotkeyRoute::KeyGrab),
                                            HotkeyCheckLine(HotkeyRoute::DesktopShortcuts),
                                            HotkeyCheckLine(HotkeyRoute::NotOffered)};
    EXPECT_EQ(hotkeyLines.size(), 3u) << "each route its own line";
    EXPECT_NE(HotkeyCheckLine(HotkeyRoute::NotOffered).find(Tr(kBindToggleAdvice)), std::string::npos);
}

}  // namespace
}  // namespace nudgewick::testing
