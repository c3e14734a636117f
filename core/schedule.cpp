#include "core/schedule.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/catalogue.h"
#include "core/number_text.h"

namespace nudgewick {
namespace {

constexpr std::array<const char*, 7> kDayNames = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
constexpr const char* kDayTitles[] = {Marked("Mon"), Marked("Tue"), Marked("Wed"), Marked("Thu"),
                                      Marked("Fri"), Marked("Sat"), Marked("Sun")};

std::int64_t SecondsOf(ClockTime time) { return time.hour * kSecondsPerHour + time.minute * kSecondsPerMinute; }

std::optional<int> ReadDay(std::string_view text) {
    const std::string lower = LowerCase(text);
    for (std::size_t day = 0; day < kDayNames.size(); ++day) {
        if (lower == kDayNames[day]) return static_cast<int>(day);
    }
    return std::nullopt;
}

struct Period {
    std::int64_t start, end;
};

// The periods of the days from the day before wallSeconds' to a week after,
// joined where one ends as the next starts. Unless nothing ever changes, the
// next boundary lies inside: a start comes within a week (at worst the same
// day's, a week on), and only whole days join, which stop before that day.
std::vector<Period> PeriodsAround(const WorkHours& work, std::int64_t wallSeconds) {
    const std::int64_t today = wallSeconds - SecondsOfDay(wallSeconds);
    std::vector<Period> periods;
    for (int offset = -1; offset <= 7; ++offset) {
        const std::int64_t midnight = today + offset * kSecondsPerDay;
        if ((work.days & (1U << WeekdayOf(midnight))) == 0) continue;
        Period period{midnight, midnight + kSecondsPerDay};
        if (work.hours) {
            period = {midnight + SecondsOf(work.hours->first), midnight + SecondsOf(work.hours->second)};
            if (period.end < period.start) period.end += kSecondsPerDay;
        }
        if (!periods.empty() && periods.back().end == period.start) {
            periods.back().end = period.end;
        } else {
            periods.push_back(period);
        }
    }
    return periods;
}

// Every day, all day (no hours, or 00:00-24:00): the days looked at join into
// one period, whose end is no boundary.
bool NeverChanges(const WorkHours& work) {
    const bool allDay = !work.hours || SecondsOf(work.hours->second) - SecondsOf(work.hours->first) == kSecondsPerDay;
    return allDay && work.days == kEveryDay;
}

}  // namespace

std::optional<std::pair<ClockTime, ClockTime>> ReadTimeRange(std::string_view text) {
    const auto dash = text.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto start = ReadClockTime(text.substr(0, dash));
    const std::string_view endText = text.substr(dash + 1);
    const auto end = endText == "24:00" ? ClockTime{24, 0} : ReadClockTime(endText);
    if (!start || !end) return std::nullopt;
    return std::pair{*start, *end};
}

std::optional<std::pair<ClockTime, ClockTime>> ReadHours(std::string_view text) {
    const auto range = ReadTimeRange(text);
    if (!range || SecondsOf(range->first) == SecondsOf(range->second)) return std::nullopt;
    return range;
}

std::optional<std::uint8_t> ReadDays(std::string_view text) {
    unsigned days = 0;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string_view item = text.substr(from, comma - from);
        const std::size_t dash = item.find('-');
        const auto first = ReadDay(item.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : ReadDay(item.substr(dash + 1));
        if (!first || !last) return std::nullopt;
        for (int day = *first;; day = (day + 1) % 7) {
            days |= 1U << day;
            if (day == *last) break;
        }
        from = comma + 1;
    }
    return static_cast<std::uint8_t>(days);
}

bool InsideHours(const WorkHours& work, std::int64_t wallSeconds) {
    const auto periods = PeriodsAround(work, wallSeconds);
    return std::any_of(periods.begin(), periods.end(),
                       [wallSeconds](const Period& p) { return p.start <= wallSeconds && wallSeconds < p.end; });
}

std::optional<std::int64_t> NextStart(const WorkHours& work, std::int64_t wallSeconds) {
    for (const Period& period : PeriodsAround(work, wallSeconds)) {
        if (period.start > wallSeconds) return period.start;
    }
    return std::nullopt;
}

std::optional<std::int64_t> NextEnd(const WorkHours& work, std::int64_t wallSeconds) {
    if (NeverChanges(work)) return std::nullopt;
    for (const Period& period : PeriodsAround(work, wallSeconds)) {
        if (period.end > wallSeconds) return period.end;
    }
    return std::nullopt;
}

// The periods are in order and apart: the first edge after now.
std::optional<std::int64_t> NextBoundary(const WorkHours& work, std::int64_t wallSeconds) {
    if (NeverChanges(work)) return std::nullopt;
    for (const Period& period : PeriodsAround(work, wallSeconds)) {
        if (period.start > wallSeconds) return period.start;
        if (period.end > wallSeconds) return period.end;
    }
    return std::nullopt;
}

std::string WhenText(std::int64_t now, std::int64_t at) {
    if (at - now < kSecondsPerDay) return WallClockText(at);
    // TRANSLATORS: a weekday's short name and a time of day, "Mon 09:00".
    return Format(Tr("%1 %2"), {Tr(kDayTitles[static_cast<std::size_t>(WeekdayOf(at))]), WallClockText(at)});
}

}  // namespace nudgewick
