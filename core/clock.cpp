#include "core/clock.h"

#include <chrono>

#include "core/number_text.h"

namespace nudgewick {
namespace {

std::string TwoDigits(std::int64_t value) {
    std::string text = WholeNumberText(value);
    if (value < 10) text.insert(text.begin(), '0');
    return text;
}

}  // namespace

std::int64_t SystemClock::WallSeconds() const {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return local ? WallSecondsOf(*local) : 0;  // no clock at all: a time of day never comes
}

std::int64_t SystemClock::SteadyMilliseconds() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t WallSecondsOf(const std::tm& local) {
    using namespace std::chrono;
    const year_month_day date{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                              day{static_cast<unsigned>(local.tm_mday)}};
    const std::int64_t days = sys_days{date}.time_since_epoch().count();
    return days * kSecondsPerDay + local.tm_hour * kSecondsPerHour + local.tm_min * kSecondsPerMinute + local.tm_sec;
}

std::int64_t SecondsOfDay(std::int64_t wallSeconds) {
    return (wallSeconds % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
}

std::string WallClockText(std::int64_t wallSeconds) {
    const std::int64_t seconds = SecondsOfDay(wallSeconds);
    return TwoDigits(seconds / kSecondsPerHour) + ":" + TwoDigits(seconds / kSecondsPerMinute % 60);
}

}  // namespace nudgewick
