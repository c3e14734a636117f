#pragma once
// Where the core looks at the time: the desktop's wall clock, which can jump,
// and a steady clock, which only moves forward.

#include <cstdint>
#include <ctime>
#include <string>

namespace nudgewick {

// A time of day on the local 24-hour clock.
struct ClockTime {
    int hour = 0;
    int minute = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // What the desktop's clock shows, as seconds since 1970-01-01 00:00 of the
    // local calendar. It jumps when daylight saving starts or ends or the time
    // zone changes.
    virtual std::int64_t WallSeconds() const = 0;
    // Milliseconds on a clock that only moves forward, from any start.
    virtual std::int64_t SteadyMilliseconds() const = 0;
};

// The clock of the system the program runs on, through the standard library.
class SystemClock final : public Clock {
public:
    std::int64_t WallSeconds() const override;
    std::int64_t SteadyMilliseconds() const override;
};

inline constexpr std::int64_t kSecondsPerMinute = 60;
inline constexpr std::int64_t kSecondsPerHour = 60 * kSecondsPerMinute;
inline constexpr std::int64_t kSecondsPerDay = 24 * kSecondsPerHour;

// A local calendar time as Clock::WallSeconds counts it.
std::int64_t WallSecondsOf(const std::tm& local);

// Seconds since the day's midnight, for any wall-clock second.
std::int64_t SecondsOfDay(std::int64_t wallSeconds);

// The wall-clock second as "HH:MM".
std::string WallClockText(std::int64_t wallSeconds);

}  // namespace nudgewick
