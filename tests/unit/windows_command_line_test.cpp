#include <gtest/gtest.h>

#include "core/windows_command_line.h"

namespace nudgewick {
namespace {

TEST(WindowsCommandLineTest, TheTailFollowsTheProgramsName) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"nudgewick.exe 5000 7", L"5000 7"},
        {L"nudgewick.exe", L""},
        {L"nudgewick.exe ", L""},
        {L"nudgewick.exe   ", L"  "},  // blanks only stay blanks
        {L"nudgewick.exe\t5000", L"5000"},
        {L"\"C:\\Program Files\\n.exe\" --for 1h", L"--for 1h"},
        {L"\"C:\\a b\\n.exe\"5000", L""},  // the name runs on to the first blank outside quotes
        {L"", L""},
    };
    for (const auto& [line, tail] : cases) EXPECT_EQ(CommandLineTail(line), tail);
}

TEST(WindowsCommandLineTest, OnlyAPlainAddressReachesCmd) {
    EXPECT_TRUE(IsPlainAddress("https://nudgewick.example/a?b=c#d"));
    for (const char* bad : {"", "a&b", "a|b", "a<b", "a>b", "a^b", "%PATH%", "a\"b", "a b", "a\nb", "a\x7f"})
        EXPECT_FALSE(IsPlainAddress(bad)) << bad;
}

}  // namespace
}  // namespace nudgewick
