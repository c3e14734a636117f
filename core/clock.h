#pragma once
// Where the core looks at the time: the desktop's wall clock, which can jump,
// and a steady clock, which only moves forward.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "core/controls.h"

namespace nudgewick {

// A time of day on the local 24-hour clock.
struct ClockTime {
    int hour = 0;
    int minute = 0;

    bool operator==(const ClockTime&) const = default;
};

// The clock of the system the program runs on, through the standard library.
// Reading the time zone again, as std::localtime does at each call, looks at
// the file system: after the seconds asleep between ticks that costs more than
// all the rest of a tick. So the zone's offset is read again once a minute, and
// a change of zone or of daylight-saving time shows within a minute, while a
// wall clock set forward or back shows at once.
class SystemClock final : public Clock {
public:
    std::int64_t WallSeconds() const override;
    std::int64_t SteadyMilliseconds() const override;

private:
    mutable std::optional<std::int64_t> offsetReadAt_;  // steady milliseconds
    mutable std::optional<std::int64_t> localOffset_;   // none: the system has no local time
};

// Microseconds on the system's steady clock, from any start: on Linux the
// kernel's CLOCK_MONOTONIC, the clock that sd-bus's deadlines are on.
std::int64_t SteadyMicroseconds();

inline constexpr std::int64_t kSecondsPerMinute = 60;
inline constexpr std::int64_t kSecondsPerHour = 60 * kSecondsPerMinute;
inline constexpr std::int64_t kSecondsPerDay = 24 * kSecondsPerHour;

// A local calendar time as Clock::WallSeconds counts it.
std::int64_t WallSecondsOf(const std::tm& local);

// Seconds since the day's midnight, for any wall-clock second.
std::int64_t SecondsOfDay(std::int64_t wallSeconds);

// The wall-clock second as "HH:MM".
std::string WallClockText(std::int64_t wallSeconds);

// The day of the week of a wall-clock second, 0 for Monday to 6 for Sunday.
int WeekdayOf(std::int64_t wallSeconds);

// "H:MM" or "HH:MM" on the 24-hour clock; nothing for anything else.
std::optional<ClockTime> ReadClockTime(std::string_view text);

}  // namespace nudgewick
