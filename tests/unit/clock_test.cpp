#include <gtest/gtest.h>

#include "core/clock.h"

namespace nudgewick {
namespace {

TEST(ClockTest, TheSystemClockCountsLocalCalendarSeconds) {
    std::tm local{};  // 2024-03-31 02:30:15
    local.tm_year = 124, local.tm_mon = 2, local.tm_mday = 31, local.tm_hour = 2, local.tm_min = 30, local.tm_sec = 15;
    EXPECT_EQ(WallSecondsOf(local), 1711852215);
    EXPECT_EQ(WallClockText(1711852215), "02:30");
    EXPECT_EQ(WallClockText(-60), "23:59") << "the day before 1970 too";
    const std::int64_t before = SteadyMicroseconds() / 1000, milliseconds = SystemClock().SteadyMilliseconds();
    EXPECT_TRUE(before <= milliseconds && milliseconds <= SteadyMicroseconds() / 1000) << "one steady clock";
}

}  // namespace
}  // namespace nudgewick
