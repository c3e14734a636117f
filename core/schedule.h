#pragma once
// Work hours: the ticks run inside them and stop outside, each change at a
// boundary found on the wall clock ("--hours 09:00-17:30 --days mon-fri").

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/clock.h"

namespace nudgewick {

inline constexpr std::uint8_t kEveryDay = 0x7f;

struct WorkHours {
    // The hours of each day, or the whole day when absent. An end before the
    // start is on the next day: the night then belongs to the day it starts on.
    std::optional<std::pair<ClockTime, ClockTime>> hours;
    std::uint8_t days = kEveryDay;  // bit 0 for Monday to bit 6 for Sunday

    bool operator==(const WorkHours&) const = default;
};

// "09:00-17:30", "22:00-6:00" or "00:00-24:00": two times of day, the end
// possibly 24:00, the end of the day; nothing for anything else.
std::optional<std::pair<ClockTime, ClockTime>> ReadTimeRange(std::string_view text);
// A time range that is work hours: nothing, besides, for a start equal to its
// end, which would leave no hours.
std::optional<std::pair<ClockTime, ClockTime>> ReadHours(std::string_view text);
// "mon-fri", "sat,sun", "mon,wed-fri", "fri-mon": English three-letter names
// in any case, a range going round the end of the week.
std::optional<std::uint8_t> ReadDays(std::string_view text);

// Whether the wall-clock second lies inside the hours.
bool InsideHours(const WorkHours& work, std::int64_t wallSeconds);

// The first second after wallSeconds at which the hours start, or end, or
// either; nothing when they never do (every day, all day).
std::optional<std::int64_t> NextStart(const WorkHours& work, std::int64_t wallSeconds);
std::optional<std::int64_t> NextEnd(const WorkHours& work, std::int64_t wallSeconds);
std::optional<std::int64_t> NextBoundary(const WorkHours& work, std::int64_t wallSeconds);

// When a coming second is, seen from now: "17:30" within a day, else with the
// day of the week, "Mon 09:00".
std::string WhenText(std::int64_t now, std::int64_t at);

}  // namespace nudgewick
