#include "core/clock.h"

#include <algorithm>
#include <chrono>

#include "core/number_text.h"

namespace nudgewick {
namespace {

constexpr std::int64_t kMillisecondsPerZoneRead = 60'000;

std::string TwoDigits(std::int64_t value) {
    std::string text = WholeNumberText(value);
    if (value < 10) text.insert(text.begin(), '0');
    return text;
}

}  // namespace

std::int64_t SystemClock::WallSeconds() const {
    const std::time_t now = std::time(nullptr);
    const std::int64_t steady = SteadyMilliseconds();
    if (!offsetReadAt_ || steady - *offsetReadAt_ >= kMillisecondsPerZoneRead) {
        const std::tm* local = std::localtime(&now);
        localOffset_ = local ? std::optional(WallSecondsOf(*local) - now) : std::nullopt;
        offsetReadAt_ = steady;
    }
    return localOffset_ ? now + *localOffset_ : 0;  // no clock at all: a time of day never comes
}

std::int64_t SystemClock::SteadyMilliseconds() const { return SteadyMicroseconds() / 1000; }

std::int64_t SteadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
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

int WeekdayOf(std::int64_t wallSeconds) {
    const std::int64_t days = (wallSeconds - SecondsOfDay(wallSeconds)) / kSecondsPerDay;
    return static_cast<int>((days % 7 + 10) % 7);  // 1970-01-01 was a Thursday
}

std::optional<ClockTime> ReadClockTime(std::string_view text) {
    const auto colon = text.find(':');
    if (colon < 1 || colon > 2 || text.size() != colon + 3) return std::nullopt;
    const auto digits = [](std::string_view part) { return std::all_of(part.begin(), part.end(), IsDigit); };
    const std::string hour(text.substr(0, colon)), minute(text.substr(colon + 1));
    if (!digits(hour) || !digits(minute)) return std::nullopt;
    const ClockTime time{std::stoi(hour), std::stoi(minute)};
    if (time.hour > 23 || time.minute > 59) return std::nullopt;
    return time;
}

std::string WallClockText(std::int64_t wallSeconds) {
    const std::int64_t seconds = SecondsOfDay(wallSeconds);
    return TwoDigits(seconds / kSecondsPerHour) + ":" + TwoDigits(seconds / kSecondsPerMinute % 60);
}

}  // namespace nudgewick
