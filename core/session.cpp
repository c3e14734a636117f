#include "core/session.h"

#include <algorithm>

namespace nudgewick {
namespace {

constexpr std::int64_t kLongestLook = 60'000;  // for a time of day, in milliseconds

}  // namespace

void Session::RunFor(std::chrono::seconds duration) {
    kind_ = Kind::Duration;
    steadyEnd_ = clock_.SteadyMilliseconds() + duration.count() * 1000;
    wallEnd_ = clock_.WallSeconds() + duration.count();
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

std::optional<int> Session::MillisecondsToCheck() const {
    if (kind_ == Kind::Idle) return std::nullopt;
    const std::int64_t left = kind_ == Kind::Duration
                                  ? steadyEnd_ - clock_.SteadyMilliseconds()
                                  : std::min((wallEnd_ - clock_.WallSeconds()) * 1000, kLongestLook);
    return static_cast<int>(std::max<std::int64_t>(left, 1));
}

}  // namespace nudgewick
