#include "core/session.h"

#include <algorithm>

namespace nudgewick {
namespace {

constexpr std::int64_t kLongestLook = 60'000;  // for a time of day, in milliseconds

}  // namespace

void Session::RunFor(std::chrono::seconds duration) {
    kind_ = Kind::Duration;
    steadyEnd_ = clock_.SteadyMilliseconds() + duration.count() * 1000;
}

void Session::RunUntil(ClockTime time) {
    kind_ = Kind::TimeOfDay;
    const std::int64_t now = clock_.WallSeconds();
    wallEnd_ = now - SecondsOfDay(now) + time.hour * kSecondsPerHour + time.minute * kSecondsPerMinute;
    if (wallEnd_ <= now) wallEnd_ += kSecondsPerDay;
}

bool Session::Due() const {
    if (kind_ == Kind::Duration) return clock_.SteadyMilliseconds() >= steadyEnd_;
    return kind_ == Kind::TimeOfDay && clock_.WallSeconds() >= wallEnd_;
}

// With the wall clock set back a day or more, the next such moment is sooner;
// still to come, it stays so.
void Session::FollowWallClock() {
    while (wallEnd_ - clock_.WallSeconds() > kSecondsPerDay) wallEnd_ -= kSecondsPerDay;
}

// A duration keeps its length whatever the wall clock does: its end is told
// on the wall clock as it is now.
std::string Session::EndText() const {
    if (kind_ != Kind::Duration) return WallClockText(wallEnd_);
    return WallClockText(clock_.WallSeconds() + (steadyEnd_ - clock_.SteadyMilliseconds() + 999) / 1000);
}

std::optional<int> Session::MillisecondsToCheck() {
    if (kind_ == Kind::Idle) return std::nullopt;
    FollowWallClock();  // wallEnd_ means nothing to a duration
    const std::int64_t left = kind_ == Kind::Duration
                                  ? steadyEnd_ - clock_.SteadyMilliseconds()
                                  : std::min((wallEnd_ - clock_.WallSeconds()) * 1000, kLongestLook);
    return static_cast<int>(std::max<std::int64_t>(left, 1));
}

}  // namespace nudgewick
