#include <gtest/gtest.h>

#include "core/launch_command.h"

namespace nudgewick {
namespace {

TEST(LaunchCommandTest, OnlyAPlainAddressReachesCmd) {
    EXPECT_EQ(CmdStartCommandLine("https://x.example/"), "cmd /c \"Start https://x.example/\"");
    EXPECT_TRUE(IsPlainAddress("https://nudgewick.example/a?b=c#d"));
    for (const char* bad : {"", "a&b", "a|b", "a<b", "a>b", "a^b", "%PATH%", "a\"b", "a b", "a\nb", "a\x7f"})
        EXPECT_FALSE(IsPlainAddress(bad)) << bad;
}

}  // namespace
}  // namespace nudgewick
